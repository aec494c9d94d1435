#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <vector>

// What a host must see of Brisca's sixteen parameters, written down here on its own rather than
// taken from the plug-in's sources, so a wrong name or default in the plug-in cannot pass
// unnoticed. Defaults are the values hosts see: on the 0.001 grid.
struct ExpectedParameter
{
    const char* id;
    const char* name;
    bool isSwitch;
    float defaultValue;
};

inline constexpr ExpectedParameter expectedParameters[] = {
    { "dbEnable", "Enable", true, 1.0f },        { "dbSideChain", "Side Chain", true, 0.0f },
    { "dbHPEnable", "HP Enable", true, 0.0f },   { "dbInput", "Input", false, 0.5f },
    { "dbRMS", "RMS-PEAK", false, 0.0f },        { "dbWide", "WIDE", false, 0.0f },
    { "dbHP", "HP", false, 0.0f },               { "dbKnee", "Knee", false, 0.0f },
    { "dbRatio", "Ratio", false, 0.474f },       { "dbThreshold", "Threshold", false, 0.501f },
    { "dbAttack", "Attack", false, 0.02f },      { "dbRelease", "Release", false, 0.267f },
    { "dbOutput", "Output", false, 0.5f },       { "dbLimit", "Limit", true, 0.0f },
    { "dbMSInput", "M/S Input", true, 0.0f },    { "dbWet", "Wet", false, 1.0f },
};
inline constexpr int numExpectedParameters = 16;

// An instance's hosted parameters found by Brisca's IDs. The formats name them differently:
// JUCE's VST3 wrapper publishes a hash of the ID string as the number, its LV2 wrapper a
// property URI ending in the ID.
class HostedParameters
{
public:
    HostedParameters (juce::AudioPluginInstance& instance, bool vst3);

    // nullptr when the instance has no parameter with that ID.
    juce::AudioProcessorParameter* find (const juce::String& id) const;
    // Ours in the order of expectedParameters (entries may be nullptr), then everything else.
    const std::vector<juce::AudioProcessorParameter*>& ours() const { return byExpected; }
    const std::vector<juce::AudioProcessorParameter*>& others() const { return extra; }
    const juce::Array<juce::AudioProcessorParameter*>& all() const { return everything; }

    // Current values of ours as the host sees them (NaN where one is missing).
    std::vector<float> values() const;
    // Sets ours to random values (switches to 0 or 1), like a user turning every knob.
    void randomise (juce::Random& random) const;

private:
    juce::Array<juce::AudioProcessorParameter*> everything;
    std::vector<juce::AudioProcessorParameter*> byExpected, extra;
    bool vst3;
};
