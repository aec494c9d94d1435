#include "DemoSignal.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace
{
constexpr double twoPi = 6.283185307179586;
constexpr double stepSeconds = 0.125; // a sixteenth note at 120 BPM
constexpr int bars = 4, stepsPerBar = 16;

// Small, fixed noise source so every run gives the same samples.
struct Noise
{
    uint32_t state;
    explicit Noise (uint32_t seed) : state (seed * 2654435761u + 1u) {}
    double next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<double> (state) / 2147483648.0 - 1.0;
    }
};

struct Mix
{
    std::vector<double> left, right;
    double sampleRate;

    // Adds a mono voice at `start` seconds with a constant-power pan (-1 left .. +1 right).
    template <typename Voice>
    void add (double start, double seconds, double pan, Voice&& voice)
    {
        const double angle = (pan + 1.0) * 0.25 * 3.141592653589793;
        const double gl = std::cos (angle), gr = std::sin (angle);
        const auto first = static_cast<size_t> (std::lround (start * sampleRate));
        const auto count = static_cast<size_t> (seconds * sampleRate);
        for (size_t i = 0; i < count && first + i < left.size(); ++i)
        {
            const double x = voice (static_cast<double> (i) / sampleRate);
            left[first + i] += gl * x;
            right[first + i] += gr * x;
        }
    }
};

void kick (Mix& mix, double start, double velocity, uint32_t seed)
{
    Noise noise (seed);
    double phase = 0.0;
    const double dt = 1.0 / mix.sampleRate;
    mix.add (start, 0.6, 0.0, [&] (double t) {
        const double frequency = 48.0 + 120.0 * std::exp (-t / 0.035);
        phase += twoPi * frequency * dt;
        const double body = std::sin (phase) * std::exp (-t / 0.32);
        const double click = noise.next() * std::exp (-t / 0.0025) * 0.35;
        return velocity * (body + click);
    });
}

void snare (Mix& mix, double start, double velocity, uint32_t seed)
{
    Noise noise (seed);
    double previous = 0.0;
    mix.add (start, 0.45, -0.1, [&] (double t) {
        const double tone = 0.55 * std::sin (twoPi * 185.0 * t) * std::exp (-t / 0.07)
                            + 0.3 * std::sin (twoPi * 330.0 * t) * std::exp (-t / 0.045);
        const double white = noise.next();
        const double bright = white - 0.6 * previous; // tilt the noise towards the top
        previous = white;
        return velocity * (tone + 0.55 * bright * std::exp (-t / 0.11));
    });
}

void hat (Mix& mix, double start, double velocity, bool open, uint32_t seed)
{
    Noise noise (seed);
    double previous = 0.0;
    mix.add (start, open ? 0.5 : 0.12, 0.35, [&] (double t) {
        const double white = noise.next();
        const double high = white - previous; // first difference: only the top octaves remain
        previous = white;
        return velocity * 0.22 * high * std::exp (-t / (open ? 0.16 : 0.025));
    });
}

void bassNote (Mix& mix, double start, double seconds, int midiNote, double velocity)
{
    const double frequency = 440.0 * std::pow (2.0, (midiNote - 69) / 12.0);
    const int harmonics = static_cast<int> (juce::jmin (24.0, 3500.0 / frequency));
    mix.add (start, seconds + 0.04, 0.0, [=] (double t) {
        double saw = 0.0;
        for (int k = 1; k <= harmonics; ++k)
            saw += std::sin (twoPi * k * frequency * t) / (k * (1.0 + 0.15 * k)); // soft, round top
        const double attack = juce::jmin (1.0, t / 0.004);
        const double decay = 0.65 + 0.35 * std::exp (-t / 0.09);
        const double release = t > seconds ? std::exp (-(t - seconds) / 0.01) : 1.0;
        return velocity * attack * decay * release * saw;
    });
}
} // namespace

juce::AudioBuffer<float> makeDemoSignal (double sampleRate)
{
    const double totalSeconds = bars * stepsPerBar * stepSeconds;
    const auto length = static_cast<size_t> (std::lround (totalSeconds * sampleRate));
    Mix mix { std::vector<double> (length), std::vector<double> (length), sampleRate };

    // Bass line in E minor, one bar of (step, length in steps, MIDI note) per row pair.
    struct Note { int step, steps, note; };
    const std::vector<Note> riffA = { { 0, 3, 28 }, { 3, 1, 28 }, { 6, 2, 31 }, { 8, 3, 33 }, { 11, 1, 28 }, { 14, 2, 38 } };
    const std::vector<Note> riffB = { { 0, 3, 36 }, { 3, 1, 36 }, { 6, 2, 35 }, { 8, 3, 31 }, { 11, 2, 33 }, { 14, 1, 35 }, { 15, 1, 38 } };

    uint32_t seed = 1;
    for (int bar = 0; bar < bars; ++bar)
    {
        const double barStart = bar * stepsPerBar * stepSeconds;
        auto at = [&] (int step) { return barStart + step * stepSeconds; };

        for (int step : { 0, 6, 8 })
            kick (mix, at (step), step == 6 ? 0.7 : 0.95, seed++);
        if (bar % 2 == 1)
            kick (mix, at (11), 0.6, seed++);

        snare (mix, at (4), 0.75, seed++);
        snare (mix, at (12), 0.8, seed++);
        if (bar == bars - 1)
            snare (mix, at (15), 0.3, seed++);

        for (int step = 0; step < stepsPerBar; ++step)
        {
            const bool open = step == 14 && bar % 2 == 1;
            const double velocity = step % 4 == 2 ? 1.0 : (step % 2 == 0 ? 0.7 : 0.4);
            hat (mix, at (step), velocity, open, seed++);
        }

        for (const auto& n : (bar == 2 ? riffB : riffA))
            bassNote (mix, at (n.step), n.steps * stepSeconds - 0.02, n.note, 0.26);
    }

    double peak = 0.0;
    for (size_t i = 0; i < length; ++i)
        peak = std::max ({ peak, std::abs (mix.left[i]), std::abs (mix.right[i]) });
    const double scale = peak > 0.0 ? std::pow (10.0, -1.0 / 20.0) / peak : 1.0;

    juce::AudioBuffer<float> buffer (2, static_cast<int> (length));
    for (size_t i = 0; i < length; ++i)
    {
        buffer.setSample (0, static_cast<int> (i), static_cast<float> (mix.left[i] * scale));
        buffer.setSample (1, static_cast<int> (i), static_cast<float> (mix.right[i] * scale));
    }
    return buffer;
}

juce::StringArray demoSettings()
{
    return { "dbThreshold=-20dB", "dbRatio=4", "dbAttack=10ms", "dbRelease=100ms", "dbRMS=50", "dbOutput=+8dB", "dbLimit=on" };
}
