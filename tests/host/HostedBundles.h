#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

// The built bundles, loaded the way a host loads them: through JUCE's VST3 and LV2 hosting.
// formatName is "VST3" or "LV2".
std::unique_ptr<juce::AudioPluginInstance> loadHostedBrisca (const juce::String& formatName,
                                                             double sampleRate = 48000.0, int blockSize = 512);

// A parameter of a hosted instance by our ID: VST3 publishes the hash of the ID string, LV2 a
// property under the plug-in's URI.
juce::String hostedParameterId (const juce::String& formatName, const juce::String& id);
juce::AudioProcessorParameter* hostedParameter (juce::AudioPluginInstance& plugin, const juce::String& formatName,
                                                const juce::String& id);
