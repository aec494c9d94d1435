#include "Assignment.h"

#include "ParameterSet.h"

#include <cstdio>

namespace
{
const brisca::ParamInfo* findInfo (const juce::String& id)
{
    for (const auto& info : brisca::parameterTable)
        if (id == info.id)
            return &info;
    return nullptr;
}

const brisca::PlainUnit* findUnit (const juce::String& id)
{
    for (const auto& unit : brisca::plainUnits)
        if (id == unit.id)
            return &unit;
    return nullptr;
}

juce::String unknownParameter (const juce::String& id)
{
    for (const auto& info : brisca::parameterTable)
        if (id.equalsIgnoreCase (info.id))
            return "unknown parameter '" + id + "' (did you mean " + info.id + "?)";
    return "unknown parameter '" + id + "' (--list shows them all)";
}

ParsedAssignment parseSwitch (const juce::String& id, const juce::String& value)
{
    ParsedAssignment parsed;
    parsed.assignment.id = id;
    parsed.assignment.isSwitch = true;
    const auto v = value.toLowerCase();
    if (v == "on" || v == "1" || v == "true")
        parsed.assignment.on = true;
    else if (v == "off" || v == "0" || v == "false")
        parsed.assignment.on = false;
    else
        parsed.error = id + ": '" + value + "' is not a switch value (on/off, 1/0, true/false)";
    return parsed;
}

ParsedAssignment parseContinuous (const juce::String& id, const brisca::PlainUnit& unit, const juce::String& value)
{
    ParsedAssignment parsed;
    parsed.assignment.id = id;

    double x = 0.0;
    const int length = readPlainNumber (value, x);
    if (length == 0)
    {
        parsed.error = id + ": '" + value + "' is not a number";
        return parsed;
    }
    const auto suffix = value.substring (length).trim();
    const juce::String unitText (unit.unit);
    const bool percentScale = unitText.isEmpty() && unit.minPlain == 0.0 && unit.maxPlain == 100.0;

    if (suffix == "n" || suffix == "N")
    {
        if (x < 0.0 || x > 1.0)
        {
            parsed.error = id + ": " + formatNumber (x) + "n is outside the normalised range 0 .. 1";
            return parsed;
        }
        parsed.assignment.normalised = static_cast<float> (x);
        return parsed;
    }

    if (suffix.isNotEmpty() && ! (unitText.isNotEmpty() && suffix.equalsIgnoreCase (unitText))
        && ! (percentScale && suffix == "%"))
    {
        parsed.error = id + ": unit '" + suffix + "' does not fit; " + id
                       + (unitText.isNotEmpty() ? " is in " + unitText : juce::String (" takes a plain number"))
                       + " (or n for a normalised value)";
        return parsed;
    }

    if (x < unit.minPlain || x > unit.maxPlain)
    {
        const auto space = unitText.isNotEmpty() ? " " + unitText : juce::String();
        parsed.error = id + ": " + formatNumber (x) + space + " is outside "
                       + formatNumber (unit.minPlain) + " .. " + formatNumber (unit.maxPlain) + space;
        return parsed;
    }

    // As in the numeric entry: the inverse in double precision, then single precision.
    parsed.assignment.normalised = static_cast<float> (unit.fromPlain (x));
    return parsed;
}
} // namespace

int readPlainNumber (const juce::String& text, double& value)
{
    const auto s = text.toStdString();
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    size_t digits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') { ++i; ++digits; }
    if (i < s.size() && s[i] == '.')
    {
        ++i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') { ++i; ++digits; }
    }
    if (digits == 0)
        return 0;
    value = std::strtod (s.substr (0, i).c_str(), nullptr);
    return static_cast<int> (i);
}

juce::String formatNumber (double value)
{
    char text[32];
    std::snprintf (text, sizeof (text), "%.6g", value + 0.0); // + 0.0 turns -0 into 0
    return text;
}

ParsedAssignment parseAssignment (const juce::String& text)
{
    const auto id = text.upToFirstOccurrenceOf ("=", false, false).trim();
    const auto value = text.fromFirstOccurrenceOf ("=", false, false).trim();

    const auto* info = findInfo (id);
    if (info == nullptr)
    {
        ParsedAssignment parsed;
        parsed.error = unknownParameter (id);
        return parsed;
    }
    if (value.isEmpty())
    {
        ParsedAssignment parsed;
        parsed.error = id + ": no value after '='";
        return parsed;
    }
    if (info->kind == brisca::ParamKind::toggle)
        return parseSwitch (id, value);
    return parseContinuous (id, *findUnit (id), value);
}
