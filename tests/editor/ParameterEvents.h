#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <string>
#include <vector>

// What a host hears from the parameters it listens to, in order: "begin", "end" and
// "value <v>" with v rounded to the 0.001 grid.
struct ParameterEvents : juce::AudioProcessorParameter::Listener
{
    explicit ParameterEvents (juce::AudioProcessor& p) : processor (p)
    {
        for (auto* parameter : processor.getParameters())
            parameter->addListener (this);
    }
    ~ParameterEvents() override
    {
        for (auto* parameter : processor.getParameters())
            parameter->removeListener (this);
    }

    void parameterValueChanged (int, float value) override
    {
        events.push_back ("value " + juce::String (value, 3).toStdString());
    }
    void parameterGestureChanged (int, bool starting) override { events.push_back (starting ? "begin" : "end"); }

    juce::AudioProcessor& processor;
    std::vector<std::string> events;
};
