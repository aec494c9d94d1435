#pragma once

#include "CustomLookAndFeel.h"

// The update badge: a red disc with a white exclamation mark filling the 24 x 24 button,
// whatever picture the button holds.
class CustomLookAndFeel_NoticationBtn : public CustomLookAndFeel
{
public:
    ~CustomLookAndFeel_NoticationBtn() override;

    void drawImageButton (juce::Graphics&, juce::Image*, int imageX, int imageY, int imageW, int imageH,
                          const juce::Colour& overlayColour, float imageOpacity, juce::ImageButton&) override;
};
