#pragma once

// The editor's fourteen pictures as complete PNG files compiled into the plug-in. The editor
// decodes them through juce::ImageCache, keyed by these arrays.
namespace brisca::pictures
{
extern const unsigned char temp1[], temp2[], temp3[], temp4[], temp5[], temp6[], temp7[],
                           temp8[], temp9[], temp10[], temp11[], temp12[], temp13[], temp14[];
extern const int temp1Size, temp2Size, temp3Size, temp4Size, temp5Size, temp6Size, temp7Size,
                 temp8Size, temp9Size, temp10Size, temp11Size, temp12Size, temp13Size, temp14Size;
} // namespace brisca::pictures
