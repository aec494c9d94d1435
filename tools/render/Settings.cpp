#include "Settings.h"

#include "Assignment.h"
#include "ParameterSet.h"
#include "ParameterWrite.h"

namespace
{
juce::RangedAudioParameter* findParameter (juce::AudioProcessor& processor, const juce::String& id)
{
    for (auto* parameter : processor.getParameters())
        if (auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (parameter))
            if (ranged->getParameterID() == id)
                return ranged;
    return nullptr;
}

const brisca::PlainUnit* findUnit (const char* id)
{
    for (const auto& unit : brisca::plainUnits)
        if (juce::String (id) == unit.id)
            return &unit;
    return nullptr;
}

// Read-out style: at most two decimals, no trailing zeros.
juce::String plainText (const brisca::PlainUnit& unit, float value)
{
    auto text = juce::String (unit.toPlain (value), 2);
    if (text.containsChar ('.'))
        text = text.trimCharactersAtEnd ("0").trimCharactersAtEnd (".");
    if (text == "-0")
        text = "0";
    return juce::String (unit.unit).isEmpty() ? text : text + " " + unit.unit;
}

juce::String valueText (juce::AudioProcessor& processor, const brisca::ParamInfo& info)
{
    const float value = findParameter (processor, info.id)->getValue();
    if (info.kind == brisca::ParamKind::toggle)
        return brisca::isOn (value) ? "on" : "off";
    return plainText (*findUnit (info.id), value);
}
} // namespace

juce::String applyProgram (BriscaAudioProcessor& processor, const juce::String& nameOrIndex)
{
    const auto text = nameOrIndex.trim();
    const int count = processor.getNumPrograms();
    int index = -1;
    if (text.containsOnly ("0123456789") && text.length() <= 3)
    {
        index = text.getIntValue();
        if (index >= count)
            return "--program " + text + ": the programs are numbered 0 .. " + juce::String (count - 1);
    }
    else
    {
        for (int i = 0; i < count; ++i)
            if (processor.getProgramName (i).equalsIgnoreCase (text))
                index = i;
        if (index < 0)
        {
            juce::StringArray names;
            for (int i = 0; i < count; ++i)
                names.add (processor.getProgramName (i));
            return "unknown program '" + text + "'; the programs are: " + names.joinIntoString (", ");
        }
    }
    processor.setCurrentProgram (index);
    return {};
}

juce::String applyStateFile (BriscaAudioProcessor& processor, const juce::File& file)
{
    if (! file.existsAsFile())
        return file.getFullPathName() + ": no such file";
    // A state block is a few hundred bytes; anything huge is not one.
    if (file.getSize() > (1 << 20))
        return file.getFullPathName() + ": too large for a saved state";
    juce::MemoryBlock data;
    if (! file.loadFileAsData (data))
        return file.getFullPathName() + ": cannot be read";

    // A restore that is refused leaves the flag as it was, and a program change just cleared it.
    processor.stateRestored = false;
    processor.setStateInformation (data.getData(), static_cast<int> (data.getSize()));
    if (! processor.stateRestored)
        return file.getFullPathName() + ": not a Brisca state (nothing applied)";
    return {};
}

juce::String applyAssignment (BriscaAudioProcessor& processor, const juce::String& text)
{
    const auto parsed = parseAssignment (text);
    if (parsed.error.isNotEmpty())
        return parsed.error;
    const auto& a = parsed.assignment;
    auto* parameter = findParameter (processor, a.id);
    if (parameter == nullptr)
        return "unknown parameter '" + a.id + "'";

    if (a.isSwitch)
    {
        // Like the plug-in's own writers: exactly 0 or 1, and only when the state changes.
        if (brisca::isOn (parameter->getValue()) != a.on)
            setAndNotify (*parameter, a.on ? 1.0f : 0.0f);
    }
    else
    {
        setAndNotify (*parameter, parameter->convertTo0to1 (a.normalised));
    }
    return {};
}

juce::String describeParameters (BriscaAudioProcessor& processor)
{
    juce::String text = "Parameters (ID, name, value, normalised, range):\n";
    for (const auto& info : brisca::parameterTable)
    {
        auto line = "  " + juce::String (info.id).paddedRight (' ', 13) + juce::String (info.name).paddedRight (' ', 12)
                    + valueText (processor, info).paddedRight (' ', 12);
        if (info.kind == brisca::ParamKind::toggle)
        {
            line << "on/off";
        }
        else
        {
            const auto& unit = *findUnit (info.id);
            const auto suffix = juce::String (unit.unit).isEmpty() ? juce::String() : " " + juce::String (unit.unit);
            line << (juce::String (findParameter (processor, info.id)->getValue(), 3) + "n").paddedRight (' ', 10)
                 << formatNumber (unit.minPlain) << " .. " << formatNumber (unit.maxPlain) << suffix;
        }
        text << line.trimEnd() << "\n";
    }
    text << "Programs:\n";
    for (int i = 0; i < processor.getNumPrograms(); ++i)
        text << "  " << juce::String (i).paddedLeft (' ', 2) << "  " << processor.getProgramName (i) << "\n";
    return text;
}

juce::String settingsLine (BriscaAudioProcessor& processor)
{
    struct Item { const char* id; const char* label; };
    static constexpr Item items[] = {
        { "dbThreshold", "Threshold" }, { "dbRatio", "Ratio" }, { "dbAttack", "Attack" }, { "dbRelease", "Release" },
        { "dbKnee", "Knee" }, { "dbRMS", "RMS" }, { "dbInput", "Input" }, { "dbOutput", "Output" }, { "dbWet", "Wet" },
        { "dbWide", "Wide" }, { "dbHP", "HP" }, { "dbHPEnable", "HP split" }, { "dbLimit", "Limit" },
        { "dbMSInput", "M/S" }, { "dbSideChain", "Side chain" }, { "dbEnable", "Enable" },
    };
    juce::StringArray parts;
    for (const auto& item : items)
        for (const auto& info : brisca::parameterTable)
            if (juce::String (info.id) == item.id)
                parts.add (juce::String (item.label) + " " + valueText (processor, info));
    return parts.joinIntoString (", ");
}
