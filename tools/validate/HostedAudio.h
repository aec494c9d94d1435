#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

// Feeds a hosted instance blocks of audio on the calling thread and looks at what comes back.
// The buffer is allocated once, up front, so processing a block allocates nothing on the
// caller's side.
class HostedAudio
{
public:
    HostedAudio (juce::AudioPluginInstance& instance, juce::int64 seed, int maxBlock = 8192);

    int channels() const { return buffer.getNumChannels(); }
    int outputs() const { return outputChannels; }
    int maxBlock() const { return buffer.getNumSamples(); }

    // Noise of the given peak on the main inputs and, separately, on the side-chain inputs,
    // with an occasional loud burst so the compressor has work to do.
    void fillNoise (int length, float level = 0.5f, float sideLevel = 0.3f);
    void fillSilence (int length);
    // The same value in every input sample of the block (main and side chain as chosen).
    void fillConstant (int length, float value, bool main, bool sideChain);

    // Runs the instance over the first length samples.
    void process (int length);

    bool outputFinite (int length) const;
    bool outputSilent (int length) const;
    float outputPeak (int length) const;
    float sample (int channel, int index) const { return buffer.getSample (channel, index); }
    // The whole block buffer, for checks that bring their own signal.
    juce::AudioBuffer<float>& data() { return buffer; }

    juce::AudioPluginInstance& instance;
    juce::Random random;

private:
    juce::AudioBuffer<float> buffer;
    juce::MidiBuffer midi;
    int mainInputs = 0, outputChannels = 0;
};

// Processes a stretch of audio in blocks of the given size (0: a random size from 1 to
// randomMax per call) with noise in, and returns false as soon as any output is not finite.
bool processNoise (HostedAudio& audio, double seconds, double sampleRate, int blockSize, int randomMax = 4096);
