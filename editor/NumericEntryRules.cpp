#include "NumericEntryRules.h"

#include <algorithm>
#include <cmath>
#include <locale>
#include <sstream>

#if JUCE_LINUX || JUCE_BSD || JUCE_MAC
 #include <locale.h>
 #include <wctype.h>
 #if JUCE_MAC
  #include <xlocale.h>
 #endif
#endif

namespace brisca::entry
{
namespace
{
constexpr int thresholdColumn = 5;

const Row rows[11] = {
    { "INPUT", "Range(dB) : -20 to 20", false, -20.0, 20.0 },
    { "RMS-PEAK", "Range : 0 to 100", true, 0.0, 100.0 },
    { "WIDE", "Range : 0 to 100", true, 0.0, 100.0 },
    { "HP", "Range(Hz) : 50 to 2000", true, 50.0, 2000.0 },
    { "Knee", "Range : 0 to 48", false, 0.0, 48.0 },
    { "THRESHOLD", "Range(dB) : -40 to 0", false, -40.0, 0.0 },
    { "RATIO", "Range : 0.5 to 20", false, 0.5, 20.0 },
    { "ATTACK", "Range(ms) : 0 to 100", false, 0.0, 100.0 },
    { "RELEASE", "Range(ms) : 0 to 300", false, 0.0, 300.0 },
    { "OUTPUT", "Range(dB) : -20 to 20", false, -20.0, 20.0 },
    { "WET", "Range : 0 to 100", true, 0.0, 100.0 },
};

// The case tables of the C library depend on the process's locale, and in the "C" locale that
// hosts usually leave in place they only know ASCII. A UTF-8 locale of our own knows them all.
bool hasCase (juce::juce_wchar c)
{
   #if JUCE_LINUX || JUCE_BSD || JUCE_MAC
    static const locale_t unicode = [] {
        for (const char* name : { "C.UTF-8", "C.utf8", "en_US.UTF-8", "UTF-8" })
            if (auto l = newlocale (LC_CTYPE_MASK, name, (locale_t) 0))
                return l;
        return (locale_t) 0;
    }();
    if (unicode != (locale_t) 0)
        return towupper_l ((wint_t) c, unicode) != towlower_l ((wint_t) c, unicode);
   #endif
    return juce::CharacterFunctions::toUpperCase (c) != juce::CharacterFunctions::toLowerCase (c);
}
} // namespace

const Row& row (int column)
{
    return rows[juce::jlimit (0, 10, column)];
}

juce::String preloadText (int column, double shownValue)
{
    if (row (column).integer)
        return juce::String ((int) shownValue);
    // printf's %g, but with a point whatever locale the host runs in.
    std::ostringstream text;
    text.imbue (std::locale::classic());
    text.precision (6);
    text << shownValue;
    return juce::String (text.str());
}

bool isAcceptable (const juce::String& text)
{
    for (auto p = text.getCharPointer(); ! p.isEmpty(); ++p)
        if (hasCase (*p))
            return false;
    return true;
}

double typedValue (int column, const juce::String& text)
{
    auto p = text.getCharPointer();
    double x = juce::CharacterFunctions::readDoubleValue (p);
    // A threshold is always a level below 0 dB: typing 6 means -6 dB.
    if (column == thresholdColumn && x > 0.0)
        x = -x;
    const auto& r = row (column);
    return std::min (r.max, std::max (r.min, x));
}

double normalised (int column, double x)
{
    switch (column)
    {
        case 0: case 9: return (20.0 + x) / 40.0;
        case 1: case 2: case 10: return x / 100.0;
        case 3: return (x - 50.0) / 1950.0;
        case 4: return x / 48.0;
        case 5:
        {
            // The inverse of the read-out's 20 * log10 (0.99 v + 0.01), with its constants as the
            // single-precision numbers the read-out uses.
            const double ln10 = 2.3025851249694824, offset = 0.009999999776482582, scale = 0.9900000095367432;
            return juce::jlimit (0.0, 1.0, (std::exp (x / 20.0 * ln10) - offset) / scale);
        }
        case 6: return (x - 0.5) / 19.5;
        case 7: return x / 100.0;
        case 8: return x / 300.0;
        default: return 0.0;
    }
}
} // namespace brisca::entry
