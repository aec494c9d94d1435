#pragma once

#include "PluginProcessor.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <functional>

// Who wants to see the audio as it passes: the levels, the plot, the progress bar.
struct RenderObserver
{
    std::function<void (const float* const* channels, int numChannels, int numSamples)> input, sideChain, output;
    std::function<void (juce::int64 blockEnd, double reductionDb)> reduction;
    std::function<void (juce::int64 samplesDone)> progress;
};

// Runs the processor over the whole input as a host would: buses matching the files, the
// sample rate and block size announced, then the float processBlock once per block. The side
// chain is read alongside (zeros after its end). Returns an error text, empty on success.
juce::String render (BriscaAudioProcessor& processor, juce::AudioFormatReader& input, juce::AudioFormatReader* sideChain,
                     juce::AudioFormatWriter& output, int blockSize, const RenderObserver& observer);
