#include "Summary.h"

#include <cmath>
#include <limits>

void Levels::add (const float* const* channels, int numChannels, int numSamples)
{
    for (int ch = 0; ch < numChannels; ++ch)
        for (int i = 0; i < numSamples; ++i)
        {
            const double x = channels[ch][i];
            const double magnitude = std::abs (x);
            if (magnitude > peak || std::isnan (x))
                peak = std::isnan (x) ? std::numeric_limits<double>::infinity() : magnitude;
            sumOfSquares += x * x;
            if (magnitude > 1.0)
                ++overFullScale;
        }
    samples += static_cast<juce::int64> (numChannels) * numSamples;
}

double Levels::peakDb() const
{
    return peak > 0.0 ? 20.0 * std::log10 (peak) : -std::numeric_limits<double>::infinity();
}

double Levels::rmsDb() const
{
    if (samples == 0 || sumOfSquares <= 0.0)
        return -std::numeric_limits<double>::infinity();
    return 10.0 * std::log10 (sumOfSquares / static_cast<double> (samples));
}

void ReductionTrace::add (juce::int64 blockEnd, double db)
{
    blockEnds.push_back (blockEnd);
    reductionDb.push_back (db);
}

double ReductionTrace::maximumDb() const
{
    double maximum = 0.0;
    for (double db : reductionDb)
        maximum = std::max (maximum, db);
    return maximum;
}

double ReductionTrace::meanDb() const
{
    if (blockEnds.empty() || blockEnds.back() <= 0)
        return 0.0;
    double sum = 0.0;
    juce::int64 start = 0;
    for (size_t i = 0; i < blockEnds.size(); ++i)
    {
        sum += reductionDb[i] * static_cast<double> (blockEnds[i] - start);
        start = blockEnds[i];
    }
    return sum / static_cast<double> (blockEnds.back());
}

juce::String formatDb (double db)
{
    if (std::isinf (db))
        return db < 0.0 ? "-inf dB" : "+inf dB";
    return juce::String (db, 1) + " dB";
}

juce::String summaryText (const std::vector<SummaryLine>& files, const juce::String& settings,
                          const ReductionTrace& reduction, bool integerOutput, const Levels& output)
{
    juce::String text;
    for (const auto& f : files)
        text << (f.label + ":").paddedRight (' ', 12) << f.fileText << "\n";
    text << "Settings:   " << settings << "\n\n";
    text << juce::String().paddedRight (' ', 14) << juce::String ("peak").paddedLeft (' ', 10) << juce::String ("RMS").paddedLeft (' ', 10) << "\n";
    for (const auto& f : files)
        if (f.levels != nullptr)
            text << "  " << f.label.paddedRight (' ', 12) << formatDb (f.levels->peakDb()).paddedLeft (' ', 10)
                 << formatDb (f.levels->rmsDb()).paddedLeft (' ', 10) << "\n";
    text << "\nGain reduction: max " << formatDb (reduction.maximumDb()) << ", mean " << formatDb (reduction.meanDb()) << "\n";
    if (integerOutput && output.overFullScale > 0)
        text << "Warning: " << juce::String (output.overFullScale)
             << " output samples went beyond full scale and were clipped in the file (--float keeps them)\n";
    return text;
}
