#include "ParameterWrite.h"
#include "PluginProcessor.h"
#include "StateTextChecks.h"

#include <cmath>

namespace
{
const char* const stateTag = "MYPLUGINSETTINGS";
} // namespace

// Attribute order of the saved element; hosts store this text in their projects, so it never
// changes (dbWet comes before dbMSInput).
std::array<juce::RangedAudioParameter*, 16> BriscaAudioProcessor::parametersInStateOrder() const
{
    return { dbEnable, dbSideChain, dbHPEnable, dbInput, dbRMS, dbWide, dbHP, dbKnee,
             dbRatio, dbThreshold, dbAttack, dbRelease, dbOutput, dbLimit, dbWet, dbMSInput };
}

namespace
{
bool isSwitch (const juce::RangedAudioParameter* p) { return dynamic_cast<const juce::AudioParameterBool*> (p) != nullptr; }
} // namespace

void BriscaAudioProcessor::getStateInformation (juce::MemoryBlock& destData)
{
    juce::XmlElement xml (stateTag);
    for (auto* p : parametersInStateOrder())
    {
        if (isSwitch (p))
            xml.setAttribute (p->getParameterID(), p->getValue() >= 0.5f ? 1 : 0);
        else
            xml.setAttribute (p->getParameterID(), static_cast<double> (p->getValue()));
    }
    copyXmlToBinary (xml, destData);
}

void BriscaAudioProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    if (data == nullptr || sizeInBytes < 9 || ! brisca::statetext::safeForTheXmlReader (data, sizeInBytes))
        return;
    const auto xml = getXmlFromBinary (data, sizeInBytes);
    if (xml == nullptr || ! xml->getTagName().equalsIgnoreCase (stateTag))
        return;

    for (auto* param : parametersInStateOrder())
    {
        auto& p = *param;
        const bool toggle = isSwitch (param);
        const double current = toggle ? (p.getValue() >= 0.5f ? 1.0 : 0.0) : static_cast<double> (p.getValue());
        double number = current;
        if (xml->hasAttribute (p.getParameterID()))
        {
            // JUCE's number reader, except for exponents that would overflow it.
            const auto text = xml->getStringAttribute (p.getParameterID());
            const auto huge = brisca::statetext::hugeExponentValue (text);
            number = huge.has_value() ? *huge : text.getDoubleValue();
        }
        // "nan" parses as a number; it must never reach a parameter, so it counts as missing.
        if (std::isnan (number))
            number = current;

        if (toggle)
        {
            const bool on = number != 0.0;
            if (on != (p.getValue() >= 0.5f))
            {
                setAndNotify (p, on ? 1.0f : 0.0f);
            }
        }
        else
        {
            setAndNotify (p, p.convertTo0to1 (static_cast<float> (number)));
        }
    }
    stateRestored = true;
}
