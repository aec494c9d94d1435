#pragma once

#include <juce_core/juce_core.h>

// A host stores a plug-in's state in its own wrapping: JUCE's VST3 host an XML document with the
// component's bytes in base64, JUCE's LV2 host a Turtle preset with the plug-in's block in a
// string property. To put a chosen block in front of the plug-in's setStateInformation, the
// block goes into a state the host saved, in place of the plug-in's own.
class StateEnvelope
{
public:
    // hostState: what the host's getStateInformation returned for this format.
    StateEnvelope (bool vst3, const juce::MemoryBlock& hostState);

    bool isValid() const { return valid; }
    // The plug-in's own block inside the host's state (for VST3 without the wrapper's trailer).
    juce::MemoryBlock pluginBlock() const;
    // The host's state with the plug-in's block replaced by the given bytes.
    juce::MemoryBlock wrap (const juce::MemoryBlock& pluginBytes) const;

private:
    bool vst3;
    bool valid = false;
    juce::MemoryBlock original;
    juce::MemoryBlock component; // VST3: the component's bytes; LV2: the decoded string
    juce::String turtle;
    int literalStart = 0, literalEnd = 0; // LV2: the string literal's extent in turtle
};
