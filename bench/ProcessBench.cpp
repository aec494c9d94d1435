#include "BenchSignal.h"
#include "PluginProcessor.h"

#include <benchmark/benchmark.h>

#include <cfloat>
#include <functional>

// ns per stereo frame at 48 kHz in 512-sample blocks, through the double-precision chain and
// through the float bridge a host actually calls.
namespace
{
constexpr double rate = 48000.0;
constexpr int block = 512;

enum class Setup { defaultProgram, reference, everyStage, midSide, mono, subnormalInput, normalInput };

void configure (BriscaAudioProcessor& p, Setup setup)
{
    auto layout = p.getBusesLayout();
    if (setup == Setup::mono)
    {
        layout.inputBuses.getReference (0) = juce::AudioChannelSet::mono();
        layout.outputBuses.getReference (0) = juce::AudioChannelSet::mono();
    }
    p.setBusesLayout (layout);
    p.setRateAndBufferSizeDetails (rate, block);
    p.prepareToPlay (rate, block);

    switch (setup)
    {
        case Setup::reference:
        case Setup::subnormalInput:
        case Setup::normalInput:
            applyReferenceSetting (p);
            break;
        case Setup::everyStage:
            applyReferenceSetting (p);
            setParameter (p, "dbWide", 0.6f);
            setParameter (p, "dbHPEnable", 1.0f);
            setParameter (p, "dbHP", 0.2f);
            setParameter (p, "dbLimit", 1.0f);
            setParameter (p, "dbSideChain", 1.0f);
            setParameter (p, "dbRMS", 0.5f);
            setParameter (p, "dbKnee", 0.125f);
            break;
        case Setup::midSide:
            applyReferenceSetting (p);
            setParameter (p, "dbMSInput", 1.0f);
            setParameter (p, "dbWide", 0.5f);
            break;
        case Setup::mono:
            applyReferenceSetting (p);
            break;
        case Setup::defaultProgram:
            break;
    }
}

juce::AudioBuffer<float> signalFor (Setup setup, int channels)
{
    auto source = makeBenchSignal (rate, 10.0);
    juce::AudioBuffer<float> b (channels, source.getNumSamples());
    for (int ch = 0; ch < channels; ++ch)
    {
        b.copyFrom (ch, 0, source, ch % 2, 0, source.getNumSamples());
        if (setup == Setup::subnormalInput)
            for (int i = 0; i < b.getNumSamples(); ++i)
                b.setSample (ch, i, (i & 1) ? FLT_TRUE_MIN * 3.0f : -FLT_TRUE_MIN * 5.0f);
        if (setup == Setup::normalInput)
            b.applyGain (ch, 0, b.getNumSamples(), 1e-3f);
    }
    return b;
}

template <typename Sample>
void run (benchmark::State& state, Setup setup)
{
    BriscaAudioProcessor p;
    configure (p, setup);
    const int channels = p.getTotalNumInputChannels();
    const auto source = signalFor (setup, channels);
    juce::AudioBuffer<Sample> signal (channels, source.getNumSamples());
    for (int ch = 0; ch < channels; ++ch)
        for (int i = 0; i < source.getNumSamples(); ++i)
            signal.setSample (ch, i, static_cast<Sample> (source.getSample (ch, i)));

    juce::AudioBuffer<Sample> work (channels, block);
    juce::MidiBuffer midi;
    int position = 0;
    for (auto _ : state)
    {
        for (int ch = 0; ch < channels; ++ch)
            work.copyFrom (ch, 0, signal, ch, position, block);
        p.processBlock (work, midi);
        benchmark::DoNotOptimize (work.getReadPointer (0));
        position = (position + block) % (signal.getNumSamples() - block);
    }
    state.SetItemsProcessed (state.iterations() * block);
    state.counters["ns_per_frame"] = benchmark::Counter (static_cast<double> (state.iterations() * block),
                                                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["realtime_x"] = benchmark::Counter (static_cast<double> (state.iterations() * block) / rate,
                                                       benchmark::Counter::kIsRate);
}
} // namespace

#define BRISCA_CASE(name, setup)                                                           \
    static void name##_double (benchmark::State& s) { run<double> (s, setup); }           \
    static void name##_float (benchmark::State& s) { run<float> (s, setup); }             \
    BENCHMARK (name##_double);                                                             \
    BENCHMARK (name##_float);

BRISCA_CASE (DefaultProgram, Setup::defaultProgram)
BRISCA_CASE (Reference_Thr20_R4_A10_R100, Setup::reference)
BRISCA_CASE (EveryStage_Width_Split_Limiter_SideChain, Setup::everyStage)
BRISCA_CASE (MidSide, Setup::midSide)
BRISCA_CASE (Mono, Setup::mono)
BRISCA_CASE (SubnormalInput, Setup::subnormalInput)
BRISCA_CASE (QuietNormalInput, Setup::normalInput)

int main (int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juce;
    benchmark::Initialize (&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
