#pragma once

#include "Summary.h"

#include <juce_graphics/juce_graphics.h>

#include <vector>

// The smallest and largest sample of every pixel column, over all channels, gathered while the
// audio streams past so that long files need no more memory than the picture.
class Outline
{
public:
    Outline (juce::int64 totalSamples, int columns);

    void add (const float* const* channels, int numChannels, int numSamples);

    int columns() const { return static_cast<int> (minimum.size()); }
    float low (int column) const { return minimum[static_cast<size_t> (column)]; }
    float high (int column) const { return maximum[static_cast<size_t> (column)]; }
    bool hasData (int column) const { return maximum[static_cast<size_t> (column)] >= minimum[static_cast<size_t> (column)]; }

private:
    juce::int64 total;
    juce::int64 position = 0;
    std::vector<float> minimum, maximum;
};

struct PlotContent
{
    juce::String title;
    juce::String settings;
    double sampleRate = 48000.0;
    juce::int64 length = 0;
    const Outline* input = nullptr;
    const Outline* output = nullptr;
    const Levels* inputLevels = nullptr;
    const Levels* outputLevels = nullptr;
    const ReductionTrace* reduction = nullptr;
};

// Columns of the waveform area in the picture; an Outline for the plot needs this many.
int plotColumns();

juce::Image drawPlot (const PlotContent& content);

// Writes the picture as a PNG; returns an error text, empty on success.
juce::String writePlot (const juce::File& file, const PlotContent& content);
