#include "BenchSignal.h"

#include "PluginProcessor.h"

#include <cmath>
#include <random>

juce::AudioBuffer<float> makeBenchSignal (double sampleRate, double seconds)
{
    const int length = static_cast<int> (sampleRate * seconds);
    juce::AudioBuffer<float> b (2, length);
    std::mt19937 rng (20261211);
    std::normal_distribution<double> white (0.0, 1.0);

    for (int ch = 0; ch < 2; ++ch)
    {
        // Pink noise by Paul Kellet's filter, at about -20 dB.
        double b0 = 0, b1 = 0, b2 = 0, b3 = 0, b4 = 0, b5 = 0, b6 = 0;
        for (int i = 0; i < length; ++i)
        {
            const double w = white (rng);
            b0 = 0.99886 * b0 + w * 0.0555179; b1 = 0.99332 * b1 + w * 0.0750759;
            b2 = 0.96900 * b2 + w * 0.1538520; b3 = 0.86650 * b3 + w * 0.3104856;
            b4 = 0.55000 * b4 + w * 0.5329522; b5 = -0.7616 * b5 - w * 0.0168980;
            const double pink = b0 + b1 + b2 + b3 + b4 + b5 + b6 + w * 0.5362;
            b6 = w * 0.115926;
            b.setSample (ch, i, static_cast<float> (pink * 0.1 * 0.11));
        }
    }

    // Kick every 0.5 s (150 -> 45 Hz sweep), snare on the off-beats.
    const int beat = static_cast<int> (sampleRate * 0.5);
    for (int start = 0; start < length; start += beat)
    {
        const int kickLength = static_cast<int> (sampleRate * 0.25);
        double phase = 0.0;
        for (int i = 0; i < kickLength && start + i < length; ++i)
        {
            const double t = i / sampleRate;
            const double f = 45.0 + 105.0 * std::exp (-t * 20.0);
            phase += 2.0 * juce::MathConstants<double>::pi * f / sampleRate;
            const double x = 0.5 * std::sin (phase) * (1.0 - static_cast<double> (i) / kickLength);
            for (int ch = 0; ch < 2; ++ch)
                b.addSample (ch, start + i, static_cast<float> (x));
        }
        const int snareStart = start + beat / 2;
        const int snareLength = static_cast<int> (sampleRate * 0.12);
        for (int i = 0; i < snareLength && snareStart + i < length; ++i)
        {
            const double x = 0.2 * white (rng) * (1.0 - static_cast<double> (i) / snareLength);
            for (int ch = 0; ch < 2; ++ch)
                b.addSample (ch, snareStart + i, static_cast<float> (x));
        }
    }

    const float peak = b.getMagnitude (0, length);
    b.applyGain (std::pow (10.0f, -1.0f / 20.0f) / peak);
    return b;
}

void setParameter (BriscaAudioProcessor& processor, const char* id, float normalised)
{
    for (auto* p : processor.getParameters())
        if (auto* withId = dynamic_cast<juce::AudioProcessorParameterWithID*> (p); withId != nullptr && withId->paramID == id)
        {
            p->setValueNotifyingHost (normalised);
            return;
        }
    jassertfalse;
}

void applyReferenceSetting (BriscaAudioProcessor& processor)
{
    setParameter (processor, "dbThreshold", static_cast<float> ((std::pow (10.0, -20.0 / 20.0) - 0.01) / 0.99)); // -20 dB
    setParameter (processor, "dbRatio", static_cast<float> ((4.0 - 0.5) / 19.5));
    setParameter (processor, "dbAttack", 10.0f / 100.0f);
    setParameter (processor, "dbRelease", 100.0f / 300.0f);
    setParameter (processor, "dbOutput", 0.5f);
    setParameter (processor, "dbInput", 0.5f);
    setParameter (processor, "dbWet", 1.0f);
    setParameter (processor, "dbKnee", 0.0f);
    setParameter (processor, "dbRMS", 0.0f);
    setParameter (processor, "dbWide", 0.0f);
    setParameter (processor, "dbHPEnable", 0.0f);
    setParameter (processor, "dbLimit", 0.0f);
    setParameter (processor, "dbMSInput", 0.0f);
    setParameter (processor, "dbSideChain", 0.0f);
}
