#pragma once

#include <juce_core/juce_core.h>

#include <algorithm>
#include <limits>
#include <optional>

// Saved states come from project files, which can hold anything, and JUCE's XML and number
// readers are not made for hostile text:
// - the UTF-8 reader trusts lead bytes and steps over the terminating zero of a malformed
//   sequence, reading past the end of the text (fromUTF8 asserts valid input for this reason);
// - the XML reader recurses once per nesting level and once per entity it re-reads, and an
//   entity declared in a DTD can name itself: a few dozen bytes, or a few hundred kilobytes of
//   nested tags, exhaust the host's stack;
// - a processing instruction followed by text inside an element sends the XML reader round in
//   circles for ever, freezing the host as it opens the project;
// - character references (&#...;) are read without checking their digits or the end of the
//   text, and can put malformed UTF-8 into a string or step past the end of the text;
// - the number reader adds up exponent digits in an int, which overflows from ten digits on.
// Our own text is under half a kilobyte of plain ASCII with two '<', the declaration first, no
// DTD and no '&'; these checks refuse, before JUCE parses anything, whatever goes beyond generous bounds.
namespace brisca::statetext
{
constexpr int maxTextBytes = 1 << 20;
constexpr int maxMarkupOpenings = 256;

// Takes the text exactly as getXmlFromBinary does, and decodes it as JUCE's reader will, since
// that decoder also reads overlong forms such as C0 BC as '<'.
inline bool safeForTheXmlReader (const void* data, int sizeInBytes)
{
    const auto length = static_cast<int> (juce::ByteOrder::littleEndianInt (juce::addBytesToPointer (data, 4)));
    if (length <= 0)
        return true; // nothing will be parsed
    const auto* bytes = static_cast<const char*> (data) + 8;
    const int available = std::min (sizeInBytes - 8, length);
    if (available > maxTextBytes || ! juce::CharPointer_UTF8::isValidString (bytes, available))
        return false;

    const auto text = juce::String::fromUTF8 (bytes, available);
    if (text.containsIgnoreCase ("<!DOCTYPE") || text.contains ("&#"))
        return false;
    const int instruction = text.indexOf ("<?");
    if (instruction >= 0 && (text.substring (0, instruction).trim().isNotEmpty() || text.indexOf (instruction + 2, "<?") >= 0))
        return false; // only the declaration at the very start may be one
    int openings = 0;
    for (auto c = text.getCharPointer(); ! c.isEmpty();)
        if (c.getAndAdvance() == '<' && ++openings > maxMarkupOpenings)
            return false;
    return true;
}

// For a number whose exponent has eight digits or more, the value JUCE's reader gives when its
// exponent does not overflow: infinite for a positive exponent and 0 for a negative one, with the
// number's sign, whatever the mantissa (in a text of at most maxTextBytes no mantissa can shift
// such an exponent back into range). Nothing for any other text, which JUCE reads safely.
inline std::optional<double> hugeExponentValue (const juce::String& text)
{
    auto t = text.getCharPointer().findEndOfWhitespace();
    bool negative = false;
    if (*t == '-' || *t == '+')
        negative = t.getAndAdvance() == '-';
    bool digits = false, point = false;
    for (;; ++t)
    {
        if (t.isDigit())
            digits = true;
        else if (*t == '.' && ! point)
            point = true;
        else
            break;
    }
    if (! digits || (*t != 'e' && *t != 'E'))
        return {};
    ++t;
    bool negativeExponent = false;
    if (*t == '-' || *t == '+')
        negativeExponent = t.getAndAdvance() == '-';
    long long exponent = 0; // as JUCE sums it, but saturated
    while (t.isDigit())
        exponent = std::min (exponent * 10 + (static_cast<long long> (t.getAndAdvance()) - '0'), 1LL << 40);
    if (exponent < 10000000)
        return {};
    const double magnitude = negativeExponent ? 0.0 : std::numeric_limits<double>::infinity();
    return negative ? -magnitude : magnitude;
}
} // namespace brisca::statetext
