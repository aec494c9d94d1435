#include "Plot.h"

#include <cmath>
#include <limits>

namespace
{
constexpr int width = 1200, height = 600;
constexpr int left = 78, right = 18;
constexpr int headerHeight = 62;
constexpr int waveHeight = 172, reductionHeight = 130, gap = 12;
constexpr int axisHeight = 40;

const juce::Colour background (0xfffbfbfa), frame (0xffc9ccd1), grid (0xffe6e8eb), text (0xff2b2f36), muted (0xff6b7280);
const juce::Colour inputColour (0xff8792a2), outputColour (0xff2563eb), reductionColour (0xffdc4c2b);

juce::Font font (float size, bool bold = false)
{
    return juce::Font (juce::Font::getDefaultSansSerifFontName(), size, bold ? juce::Font::bold : juce::Font::plain);
}

// A round step for about `count` ticks over `span`.
double niceStep (double span, int count)
{
    const double raw = span / count;
    const double magnitude = std::pow (10.0, std::floor (std::log10 (raw)));
    for (double m : { 1.0, 2.0, 5.0, 10.0 })
        if (raw <= m * magnitude)
            return m * magnitude;
    return 10.0 * magnitude;
}

juce::String timeLabel (double seconds, double step, bool minutes)
{
    if (minutes && step >= 1.0)
    {
        const int s = static_cast<int> (std::lround (seconds));
        return juce::String (s / 60) + ":" + juce::String (s % 60).paddedLeft ('0', 2);
    }
    const int decimals = step >= 1.0 ? 0 : (step >= 0.1 ? 1 : 2);
    return juce::String (seconds, decimals) + " s";
}

// Captions sit on a pale box so that the curves under them stay readable around it.
void drawCaption (juce::Graphics& g, const juce::String& caption, int x, int y)
{
    const auto f = font (13.0f, true);
    const int w = f.getStringWidth (caption) + 12;
    g.setColour (juce::Colours::white.withAlpha (0.85f));
    g.fillRoundedRectangle (static_cast<float> (x), static_cast<float> (y), static_cast<float> (w), 19.0f, 3.0f);
    g.setFont (f);
    g.setColour (text);
    g.drawText (caption, x + 6, y, w - 6, 19, juce::Justification::centredLeft);
}

void drawWave (juce::Graphics& g, juce::Rectangle<int> area, const Outline& outline, double fullScale, juce::Colour colour)
{
    g.setColour (colour);
    const float mid = static_cast<float> (area.getCentreY());
    const float half = static_cast<float> (area.getHeight()) * 0.5f;
    for (int c = 0; c < outline.columns() && c < area.getWidth(); ++c)
    {
        if (! outline.hasData (c))
            continue;
        const float top = mid - half * static_cast<float> (juce::jlimit (-1.0, 1.0, outline.high (c) / fullScale));
        const float bottom = mid - half * static_cast<float> (juce::jlimit (-1.0, 1.0, outline.low (c) / fullScale));
        g.fillRect (static_cast<float> (area.getX() + c), top, 1.0f, juce::jmax (1.0f, bottom - top));
    }
}

void drawWavePanel (juce::Graphics& g, juce::Rectangle<int> area, const juce::String& label, const Levels* levels,
                    double fullScale, const Outline* behind, const Outline& wave, juce::Colour colour)
{
    g.setColour (juce::Colours::white);
    g.fillRect (area);
    g.setColour (grid);
    for (double f : { -0.5, 0.0, 0.5 })
        g.drawHorizontalLine (area.getCentreY() - static_cast<int> (std::lround (f * area.getHeight() * 0.5)),
                              static_cast<float> (area.getX()), static_cast<float> (area.getRight()));
    if (behind != nullptr)
        drawWave (g, area, *behind, fullScale, inputColour.withAlpha (0.35f));
    drawWave (g, area, wave, fullScale, colour);
    g.setColour (frame);
    g.drawRect (area);

    // Amplitude scale: full scale, half of it and zero.
    g.setFont (font (11.0f));
    g.setColour (muted);
    for (double f : { 1.0, 0.5, 0.0, -0.5, -1.0 })
    {
        // Labels at the panel's edges stay inside it, clear of the next panel's.
        const int y = juce::jlimit (area.getY() + 7, area.getBottom() - 7,
                                    area.getCentreY() - static_cast<int> (std::lround (f * area.getHeight() * 0.5)));
        g.drawText (juce::String (f * fullScale, 1), area.getX() - 44, y - 7, 38, 14,
                    juce::Justification::centredRight);
    }

    auto caption = label;
    if (levels != nullptr)
        caption << "    peak " << formatDb (levels->peakDb()) << "FS, RMS " << formatDb (levels->rmsDb()) << "FS";
    drawCaption (g, caption, area.getX() + 4, area.getY() + 4);
}

void drawReductionPanel (juce::Graphics& g, juce::Rectangle<int> area, const ReductionTrace& trace, juce::int64 length)
{
    // The axis runs from 0 dB (top) down to a round figure above the largest reduction; a gain
    // above 1 (ratios under 1) shows above the zero line.
    double lowest = 0.0, highest = 0.0;
    for (double db : trace.reductionDb)
    {
        lowest = std::min (lowest, db);
        highest = std::max (highest, db);
    }
    const double step = niceStep (juce::jmax (3.0, highest - lowest), 4);
    const double top = step * std::floor (lowest / step);
    const double bottom = juce::jmax (3.0, step * std::ceil (highest / step));
    auto yOf = [&] (double db) {
        return static_cast<float> (area.getY()) + static_cast<float> ((db - top) / (bottom - top)) * static_cast<float> (area.getHeight());
    };

    g.setColour (juce::Colours::white);
    g.fillRect (area);
    g.setFont (font (11.0f));
    for (double db = top; db <= bottom + 1e-9; db += step)
    {
        const float y = yOf (db);
        g.setColour (grid);
        g.drawHorizontalLine (static_cast<int> (std::lround (y)), static_cast<float> (area.getX()), static_cast<float> (area.getRight()));
        g.setColour (muted);
        const int labelY = juce::jlimit (area.getY() + 7, area.getBottom() - 7, static_cast<int> (std::lround (y)));
        g.drawText (juce::String (db + 0.0, step < 1.0 ? 1 : 0), area.getX() - 44, labelY - 7, 38, 14,
                    juce::Justification::centredRight);
    }

    if (! trace.blockEnds.empty() && length > 0)
    {
        // One point per block, drawn as steps: the value holds for the block it was measured in.
        juce::Path curve;
        const float zero = yOf (0.0);
        const double xScale = static_cast<double> (area.getWidth()) / static_cast<double> (length);
        curve.startNewSubPath (static_cast<float> (area.getX()), zero);
        juce::int64 start = 0;
        for (size_t i = 0; i < trace.blockEnds.size(); ++i)
        {
            const float y = yOf (trace.reductionDb[i]);
            curve.lineTo (static_cast<float> (area.getX() + start * xScale), y);
            curve.lineTo (static_cast<float> (area.getX() + trace.blockEnds[i] * xScale), y);
            start = trace.blockEnds[i];
        }
        curve.lineTo (static_cast<float> (area.getX() + start * xScale), zero);
        curve.closeSubPath();
        g.setColour (reductionColour.withAlpha (0.25f));
        g.fillPath (curve);
        g.setColour (reductionColour);
        g.strokePath (curve, juce::PathStrokeType (1.2f));
    }
    g.setColour (frame);
    g.drawRect (area);

    drawCaption (g, "Gain reduction (dB)    max " + formatDb (trace.maximumDb()) + ", mean " + formatDb (trace.meanDb()),
                 area.getX() + 4, area.getBottom() - 23);
}

void drawTimeAxis (juce::Graphics& g, juce::Rectangle<int> area, juce::int64 length, double sampleRate)
{
    const double seconds = static_cast<double> (length) / sampleRate;
    if (seconds <= 0.0)
        return;
    const double step = niceStep (seconds, 10);
    g.setFont (font (11.0f));
    for (double t = 0.0; t <= seconds + 1e-9; t += step)
    {
        const int x = area.getX() + static_cast<int> (std::lround (t / seconds * area.getWidth()));
        g.setColour (frame);
        g.drawVerticalLine (x, static_cast<float> (area.getY()), static_cast<float> (area.getY() + 5));
        g.setColour (muted);
        g.drawText (timeLabel (t, step, seconds >= 60.0), x - 40, area.getY() + 6, 80, 14, juce::Justification::centred);
    }
}
} // namespace

Outline::Outline (juce::int64 totalSamples, int columnCount)
    : total (juce::jmax<juce::int64> (1, totalSamples)),
      minimum (static_cast<size_t> (columnCount), std::numeric_limits<float>::max()),
      maximum (static_cast<size_t> (columnCount), std::numeric_limits<float>::lowest())
{
}

void Outline::add (const float* const* channels, int numChannels, int numSamples)
{
    const auto count = static_cast<juce::int64> (minimum.size());
    for (int i = 0; i < numSamples; ++i, ++position)
    {
        const auto c = static_cast<size_t> (juce::jmin (count - 1, position * count / total));
        for (int ch = 0; ch < numChannels; ++ch)
        {
            const float x = channels[ch][i];
            if (! std::isfinite (x))
                continue;
            minimum[c] = std::min (minimum[c], x);
            maximum[c] = std::max (maximum[c], x);
        }
    }
}

int plotColumns() { return width - left - right; }

juce::Image drawPlot (const PlotContent& content)
{
    juce::Image image (juce::Image::ARGB, width, height, true, juce::SoftwareImageType());
    juce::Graphics g (image);
    g.fillAll (background);

    g.setColour (text);
    g.setFont (font (17.0f, true));
    g.drawText (content.title, left, 10, width - left - right, 22, juce::Justification::centredLeft);
    g.setColour (muted);
    g.setFont (font (12.0f));
    g.drawFittedText (content.settings, left, 34, width - left - right, 22, juce::Justification::centredLeft, 2, 0.9f);

    // One amplitude scale for both waveforms, widened when the output goes past full scale.
    double fullScale = 1.0;
    for (const auto* levels : { content.inputLevels, content.outputLevels })
        if (levels != nullptr && std::isfinite (levels->peak))
            fullScale = juce::jmax (fullScale, levels->peak);
    if (fullScale > 1.0)
        fullScale = std::ceil (fullScale * 4.0) / 4.0;

    const int plotWidth = width - left - right;
    juce::Rectangle<int> inputArea (left, headerHeight, plotWidth, waveHeight);
    juce::Rectangle<int> outputArea (left, inputArea.getBottom() + gap, plotWidth, waveHeight);
    juce::Rectangle<int> reductionArea (left, outputArea.getBottom() + gap, plotWidth, reductionHeight);
    juce::Rectangle<int> axisArea (left, reductionArea.getBottom(), plotWidth, axisHeight);

    if (content.input != nullptr)
        drawWavePanel (g, inputArea, "Input", content.inputLevels, fullScale, nullptr, *content.input, inputColour);
    if (content.output != nullptr)
        drawWavePanel (g, outputArea, "Output (input in grey behind)", content.outputLevels, fullScale, content.input,
                       *content.output, outputColour);
    if (content.reduction != nullptr)
        drawReductionPanel (g, reductionArea, *content.reduction, content.length);
    drawTimeAxis (g, axisArea, content.length, content.sampleRate);
    return image;
}

juce::String writePlot (const juce::File& file, const PlotContent& content)
{
    const auto image = drawPlot (content);
    juce::TemporaryFile temporary (file);
    {
        auto stream = temporary.getFile().createOutputStream();
        if (stream == nullptr || stream->failedToOpen())
            return "plot '" + file.getFullPathName() + "': cannot be created in that folder";
        juce::PNGImageFormat png;
        if (! png.writeImageToStream (image, *stream))
            return "plot '" + file.getFullPathName() + "': writing the PNG failed";
    }
    if (! temporary.overwriteTargetFileWithTemporary())
        return "plot '" + file.getFullPathName() + "': cannot be written";
    return {};
}
