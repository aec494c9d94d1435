#include "LinuxCjkTypeface.h"

#include <fontconfig/fontconfig.h>

#include <cstring>

// The framework finds fonts by scanning the font folders for .ttf, .otf, .pfb and .pcf files
// only, and has no glyph fallback. Many systems carry their CJK faces as collections (.ttc, as
// in Debian's fonts-noto-cjk), which it never sees. So fontconfig picks the face, and a face the
// framework cannot name is loaded from its file into memory.
namespace brisca
{
namespace
{
struct MatchedFace
{
    juce::String family, file;
    int index = 0;
};

MatchedFace matchFace (bool chinese)
{
    MatchedFace result;
    if (FcInit() == FcFalse)
        return result;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString (pattern, FC_FAMILY, (const FcChar8*) "sans-serif");
    FcPatternAddString (pattern, FC_LANG, (const FcChar8*) (chinese ? "zh-cn" : "ja"));
    FcConfigSubstitute (nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute (pattern);
    FcResult outcome = FcResultNoMatch;
    FcPattern* match = FcFontMatch (nullptr, pattern, &outcome);
    FcPatternDestroy (pattern);
    if (match == nullptr)
        return result;

    // fontconfig always answers with something; only accept a face that has the script.
    FcChar8* family = nullptr;
    FcChar8* file = nullptr;
    FcCharSet* characters = nullptr;
    int index = 0;
    const FcChar32 sample = chinese ? 0x4e2d /* 中 */ : 0x3042 /* あ */;
    if (FcPatternGetString (match, FC_FAMILY, 0, &family) == FcResultMatch
        && FcPatternGetString (match, FC_FILE, 0, &file) == FcResultMatch
        && FcPatternGetCharSet (match, FC_CHARSET, 0, &characters) == FcResultMatch
        && FcCharSetHasChar (characters, sample) && FcCharSetHasChar (characters, 0x41 /* A */))
    {
        FcPatternGetInteger (match, FC_INDEX, 0, &index);
        result = { juce::String::fromUTF8 ((const char*) family), juce::String::fromUTF8 ((const char*) file), index };
    }
    FcPatternDestroy (match);
    return result;
}

// The framework loads the first face of a font file in memory. In a collection the table
// offsets are absolute, so pointing the first entry of its face list at the wanted face is
// enough to make that one come first.
juce::Typeface::Ptr loadFace (const juce::String& path, int index)
{
    juce::MemoryBlock data;
    if (! juce::File (path).loadFileAsData (data) || data.getSize() < 16)
        return nullptr;
    auto* bytes = static_cast<juce::uint8*> (data.getData());
    const bool collection = std::memcmp (bytes, "ttcf", 4) == 0;
    if (index > 0)
    {
        if (! collection || (juce::uint32) index >= juce::ByteOrder::bigEndianInt (bytes + 8)
            || data.getSize() < 16 + 4 * (size_t) index)
            return nullptr;
        std::memcpy (bytes + 12, bytes + 12 + 4 * index, 4);
    }
    juce::Typeface::Ptr typeface = juce::Typeface::createSystemTypefaceFor (data.getData(), data.getSize());
    return typeface != nullptr && typeface->getName().isNotEmpty() ? typeface : nullptr;
}

CjkTypeface lookUp (bool chinese)
{
    const auto face = matchFace (chinese);
    if (face.family.isEmpty())
        return {};
    if (juce::Font::findAllTypefaceNames().contains (face.family))
        return { face.family, nullptr };
    if (auto loaded = loadFace (face.file, face.index))
        return { loaded->getName(), loaded };
    return {};
}
} // namespace

CjkTypeface findCjkTypeface (bool chinese)
{
    // Loading a collection reads tens of megabytes: once per language is enough.
    if (chinese)
    {
        static const CjkTypeface face = lookUp (true);
        return face;
    }
    static const CjkTypeface face = lookUp (false);
    return face;
}
} // namespace brisca
