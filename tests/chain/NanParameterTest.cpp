#include "PluginProcessor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

// A host can store NaN in a parameter (the framework does not refuse it). The audio must stay
// finite: the block runs with that parameter at its default, exactly as if it held it.
namespace
{
juce::AudioBuffer<double> run (BriscaAudioProcessor& p)
{
    p.setRateAndBufferSizeDetails (48000.0, 256);
    p.prepareToPlay (48000.0, 256);
    static_cast<juce::AudioProcessorParameter*> (p.dbThreshold)->setValue (0.2f); // compress hard
    juce::AudioBuffer<double> b (4, 256);
    for (int ch = 0; ch < 4; ++ch)
        for (int i = 0; i < 256; ++i)
            b.setSample (ch, i, 0.8 * std::sin (0.05 * i + ch));
    juce::MidiBuffer midi;
    p.processBlock (b, midi);
    return b;
}
} // namespace

TEST (HostParameterValues, NanRunsAsTheDefaultAndTheOutputStaysFinite)
{
    const char* ids[] = { "dbInput", "dbRMS", "dbWide", "dbHP", "dbKnee", "dbRatio", "dbAttack", "dbRelease", "dbOutput", "dbWet" };
    for (auto* id : ids)
    {
        SCOPED_TRACE (id);
        BriscaAudioProcessor withNan, withDefault;
        for (auto* proc : { &withNan, &withDefault })
            for (auto* param : proc->getParameters())
                if (auto* f = dynamic_cast<juce::AudioParameterFloat*> (param); f != nullptr && f->paramID == id)
                    param->setValue (proc == &withNan ? std::numeric_limits<float>::quiet_NaN() : param->getDefaultValue());

        const auto a = run (withNan);
        const auto b = run (withDefault);
        for (int ch = 0; ch < 2; ++ch)
        {
            for (int i = 0; i < a.getNumSamples(); ++i)
                ASSERT_TRUE (std::isfinite (a.getSample (ch, i)));
            EXPECT_EQ (0, std::memcmp (a.getReadPointer (ch), b.getReadPointer (ch), sizeof (double) * 256));
        }
    }
}
