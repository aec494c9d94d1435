#include "BenchSignal.h"
#include "PluginProcessor.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <limits>

// What unusable input costs compared with ordinary audio, per stereo frame at 48 kHz in
// 512-sample blocks. Each case also times the same processor settings on the normal benchmark
// signal and reports the ratio as vs_normal: subnormal input should stay below 2.
//
// Input kinds, on every input channel:
// - Subnormal_double: double subnormals through the double path, which the input cleaning
//   flushes;
// - Subnormal_float: float subnormals through the bridge a host calls; as doubles they are tiny
//   normal numbers and pass the cleaning;
// - TinyNormal_double: doubles near 1e-160, whose squares in the RMS window and products in the
//   filters fall into the subnormal range inside the engine;
// - NaN and Inf, which the cleaning turns into silence.
namespace
{
constexpr double rate = 48000.0;
constexpr int block = 512;

enum class Input { normal, subnormalDouble, subnormalFloat, tinyNormal, nan, inf };

// Every stage that keeps recursive state: RMS window, split filters, width crossover, limiter.
void configure (BriscaAudioProcessor& p)
{
    p.setRateAndBufferSizeDetails (rate, block);
    p.prepareToPlay (rate, block);
    applyReferenceSetting (p);
    setParameter (p, "dbRMS", 0.5f);
    setParameter (p, "dbWide", 0.6f);
    setParameter (p, "dbHPEnable", 1.0f);
    setParameter (p, "dbHP", 0.2f);
    setParameter (p, "dbLimit", 1.0f);
    setParameter (p, "dbKnee", 0.125f);
}

double sampleFor (Input input, int i, double normal)
{
    const double sign = (i & 1) != 0 ? 1.0 : -1.0;
    switch (input)
    {
        case Input::normal: return normal;
        case Input::subnormalDouble: return sign * 4.9e-324 * (1 + i % 1000);
        case Input::subnormalFloat: return sign * static_cast<double> (std::numeric_limits<float>::denorm_min()) * (1 + i % 1000);
        case Input::tinyNormal: return normal * 1.0e-160;
        case Input::nan: return std::numeric_limits<double>::quiet_NaN();
        case Input::inf: return sign * std::numeric_limits<double>::infinity();
    }
    return normal;
}

template <typename Sample>
juce::AudioBuffer<Sample> signalFor (Input input, int channels)
{
    const auto source = makeBenchSignal (rate, 2.0);
    juce::AudioBuffer<Sample> b (channels, source.getNumSamples());
    for (int ch = 0; ch < channels; ++ch)
        for (int i = 0; i < b.getNumSamples(); ++i)
            b.setSample (ch, i, static_cast<Sample> (sampleFor (input, i, source.getSample (ch % 2, i))));
    return b;
}

// Processes the whole signal block by block; returns nanoseconds per frame.
template <typename Sample>
double pass (BriscaAudioProcessor& p, const juce::AudioBuffer<Sample>& signal, juce::AudioBuffer<Sample>& work)
{
    juce::MidiBuffer midi;
    const auto start = std::chrono::steady_clock::now();
    const int blocks = signal.getNumSamples() / block;
    for (int b = 0; b < blocks; ++b)
    {
        for (int ch = 0; ch < signal.getNumChannels(); ++ch)
            work.copyFrom (ch, 0, signal, ch, b * block, block);
        p.processBlock (work, midi);
        benchmark::DoNotOptimize (work.getReadPointer (0));
    }
    const std::chrono::duration<double, std::nano> elapsed = std::chrono::steady_clock::now() - start;
    return elapsed.count() / (blocks * block);
}

template <typename Sample>
void run (benchmark::State& state, Input input)
{
    BriscaAudioProcessor p, reference;
    configure (p);
    configure (reference);
    const int channels = p.getTotalNumInputChannels();
    const auto normal = signalFor<Sample> (Input::normal, channels);
    const auto bad = signalFor<Sample> (input, channels);
    juce::AudioBuffer<Sample> work (channels, block);

    double normalNs = 0.0, badNs = 0.0;
    int passes = 0;
    for (auto _ : state)
    {
        // Interleaved, so that both see the same machine load.
        normalNs += pass (reference, normal, work);
        badNs += pass (p, bad, work);
        ++passes;
    }
    state.counters["ns_per_frame"] = badNs / passes;
    state.counters["normal_ns_per_frame"] = normalNs / passes;
    state.counters["vs_normal"] = badNs / normalNs;
}
} // namespace

#define BRISCA_BAD_AUDIO_CASE(name, Sample, input)                                    \
    static void BadAudio_##name (benchmark::State& s) { run<Sample> (s, input); }        \
    BENCHMARK (BadAudio_##name)->Unit (benchmark::kMillisecond);

BRISCA_BAD_AUDIO_CASE (Normal_double, double, Input::normal)
BRISCA_BAD_AUDIO_CASE (Normal_float, float, Input::normal)
BRISCA_BAD_AUDIO_CASE (Subnormal_double, double, Input::subnormalDouble)
BRISCA_BAD_AUDIO_CASE (Subnormal_float, float, Input::subnormalFloat)
BRISCA_BAD_AUDIO_CASE (TinyNormal_double, double, Input::tinyNormal)
BRISCA_BAD_AUDIO_CASE (NaN_double, double, Input::nan)
BRISCA_BAD_AUDIO_CASE (NaN_float, float, Input::nan)
BRISCA_BAD_AUDIO_CASE (Inf_double, double, Input::inf)
BRISCA_BAD_AUDIO_CASE (Inf_float, float, Input::inf)
