#include "EditorPictures.h"

#include "BriscaPictures.h"

namespace brisca
{
juce::Image picture (int number)
{
    using namespace pictures;
    struct Entry
    {
        const unsigned char* data;
        const int& size;
    };
    static const Entry entries[] = {
        { temp1, temp1Size },   { temp2, temp2Size },   { temp3, temp3Size },   { temp4, temp4Size },
        { temp5, temp5Size },   { temp6, temp6Size },   { temp7, temp7Size },   { temp8, temp8Size },
        { temp9, temp9Size },   { temp10, temp10Size }, { temp11, temp11Size }, { temp12, temp12Size },
        { temp13, temp13Size }, { temp14, temp14Size },
    };
    if (number < 1 || number > 14)
        return {};
    const auto& e = entries[number - 1];
    return juce::ImageCache::getFromMemory (e.data, e.size);
}
} // namespace brisca
