#include "BenchSignal.h"
#include "PluginProcessor.h"

#include <cstdio>
#include <cstring>

// Runs the reference setting over the ten-second signal through the float bridge, once. Under
// `valgrind --tool=callgrind --toggle-collect=processAll` the instruction total divided by the
// frame count is the cost per stereo frame, comparable with the peers' figures.
extern "C" __attribute__ ((noinline)) void processAll (BriscaAudioProcessor& p, juce::AudioBuffer<float>& signal, int block)
{
    juce::MidiBuffer midi;
    const int channels = signal.getNumChannels();
    for (int start = 0; start + block <= signal.getNumSamples(); start += block)
    {
        juce::AudioBuffer<float> view (signal.getArrayOfWritePointers(), channels, start, block);
        p.processBlock (view, midi);
    }
}

int main (int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juce;
    const int block = argc > 1 ? std::atoi (argv[1]) : 512;
    const bool midSide = argc > 2 && std::strcmp (argv[2], "ms") == 0;

    BriscaAudioProcessor p;
    p.setRateAndBufferSizeDetails (48000.0, block);
    p.prepareToPlay (48000.0, block);
    applyReferenceSetting (p);
    if (midSide)
        setParameter (p, "dbMSInput", 1.0f);

    // Four channels as a host hands them: the main pair and an unused side-chain pair.
    auto source = makeBenchSignal();
    juce::AudioBuffer<float> signal (4, source.getNumSamples());
    signal.clear();
    signal.copyFrom (0, 0, source, 0, 0, source.getNumSamples());
    signal.copyFrom (1, 0, source, 1, 0, source.getNumSamples());

    processAll (p, signal, block);
    std::printf ("frames=%d gainReductionDb=%.6f\n", signal.getNumSamples(), p.gainReductionDb.load());
    return 0;
}
