#include "HostedParameters.h"

#include <cmath>

namespace
{
juce::String hostedIdOf (const juce::AudioProcessorParameter* p)
{
    if (auto* withId = dynamic_cast<const juce::HostedAudioProcessorParameter*> (p))
        return withId->getParameterID();
    return {};
}

bool matches (const juce::String& hostedId, const juce::String& id, bool vst3)
{
    if (vst3)
        return hostedId == juce::String (static_cast<int> (id.hashCode() & 0x7fffffff));
    return hostedId.endsWith (":" + id);
}
} // namespace

HostedParameters::HostedParameters (juce::AudioPluginInstance& instance, bool isVst3)
    : everything (instance.getParameters()), vst3 (isVst3)
{
    for (const auto& expected : expectedParameters)
        byExpected.push_back (find (expected.id));
    for (auto* p : everything)
        if (std::find (byExpected.begin(), byExpected.end(), p) == byExpected.end())
            extra.push_back (p);
}

juce::AudioProcessorParameter* HostedParameters::find (const juce::String& id) const
{
    for (auto* p : everything)
        if (matches (hostedIdOf (p), id, vst3))
            return p;
    return nullptr;
}

std::vector<float> HostedParameters::values() const
{
    std::vector<float> result;
    for (auto* p : byExpected)
        result.push_back (p != nullptr ? p->getValue() : std::nanf (""));
    return result;
}

void HostedParameters::randomise (juce::Random& random) const
{
    for (size_t i = 0; i < byExpected.size(); ++i)
        if (auto* p = byExpected[i])
            p->setValue (expectedParameters[i].isSwitch ? (random.nextBool() ? 1.0f : 0.0f)
                                                        : static_cast<float> (random.nextInt (1001)) / 1000.0f);
}
