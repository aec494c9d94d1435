#pragma once

#include <juce_core/juce_core.h>

#include <vector>

// Peak and RMS of everything a file held, over all its channels.
struct Levels
{
    double peak = 0.0;
    double sumOfSquares = 0.0;
    juce::int64 samples = 0;
    juce::int64 overFullScale = 0; // samples beyond +-1, which an integer file clips

    void add (const float* const* channels, int numChannels, int numSamples);
    double peakDb() const;
    double rmsDb() const;
};

// The processor's gainReductionDb after each block, with where the block ended.
struct ReductionTrace
{
    std::vector<juce::int64> blockEnds;
    std::vector<double> reductionDb;

    void add (juce::int64 blockEnd, double db);
    double maximumDb() const;
    double meanDb() const; // weighted by block length
};

// "-3.2 dB", or "-inf dB" for silence.
juce::String formatDb (double db);

struct SummaryLine
{
    juce::String label;
    juce::String fileText;
    const Levels* levels = nullptr; // no level columns when null
};

// The text printed on stdout after a render.
juce::String summaryText (const std::vector<SummaryLine>& files, const juce::String& settings,
                          const ReductionTrace& reduction, bool integerOutput, const Levels& output);
