#include "HostedAudio.h"

#include <cmath>

HostedAudio::HostedAudio (juce::AudioPluginInstance& i, juce::int64 seed, int maxBlockSize)
    : instance (i),
      random (seed),
      buffer (juce::jmax (i.getTotalNumInputChannels(), i.getTotalNumOutputChannels()), maxBlockSize)
{
    buffer.clear();
    midi.ensureSize (256);
    mainInputs = i.getBus (true, 0) != nullptr ? i.getBus (true, 0)->getNumberOfChannels() : 0;
    outputChannels = i.getTotalNumOutputChannels();
}

void HostedAudio::fillNoise (int length, float level, float sideLevel)
{
    const bool burst = random.nextInt (8) == 0;
    const float gain = burst ? 4.0f : 1.0f;
    for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
    {
        const float peak = (ch < mainInputs ? level : sideLevel) * gain;
        auto* data = buffer.getWritePointer (ch);
        for (int i = 0; i < length; ++i)
            data[i] = peak * (2.0f * random.nextFloat() - 1.0f);
    }
}

void HostedAudio::fillSilence (int length)
{
    for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
        buffer.clear (ch, 0, length);
}

void HostedAudio::fillConstant (int length, float value, bool main, bool sideChain)
{
    for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
    {
        const bool isMain = ch < mainInputs;
        if ((isMain && main) || (! isMain && sideChain))
            juce::FloatVectorOperations::fill (buffer.getWritePointer (ch), value, length);
    }
}

void HostedAudio::process (int length)
{
    juce::AudioBuffer<float> view (buffer.getArrayOfWritePointers(), buffer.getNumChannels(), length);
    midi.clear();
    instance.processBlock (view, midi);
}

bool HostedAudio::outputFinite (int length) const
{
    for (int ch = 0; ch < outputChannels; ++ch)
    {
        const auto* data = buffer.getReadPointer (ch);
        for (int i = 0; i < length; ++i)
            if (! std::isfinite (data[i]))
                return false;
    }
    return true;
}

bool HostedAudio::outputSilent (int length) const
{
    for (int ch = 0; ch < outputChannels; ++ch)
    {
        const auto* data = buffer.getReadPointer (ch);
        for (int i = 0; i < length; ++i)
            if (data[i] != 0.0f)
                return false;
    }
    return true;
}

float HostedAudio::outputPeak (int length) const
{
    float peak = 0.0f;
    for (int ch = 0; ch < outputChannels; ++ch)
        peak = juce::jmax (peak, buffer.getMagnitude (ch, 0, length));
    return peak;
}

bool processNoise (HostedAudio& audio, double seconds, double sampleRate, int blockSize, int randomMax)
{
    const auto total = static_cast<juce::int64> (seconds * sampleRate);
    for (juce::int64 done = 0; done < total;)
    {
        const int length = blockSize > 0 ? blockSize : 1 + audio.random.nextInt (randomMax);
        audio.fillNoise (length);
        audio.process (length);
        if (! audio.outputFinite (length))
            return false;
        done += length;
    }
    return true;
}
