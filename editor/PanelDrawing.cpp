#include "EditorPictures.h"
#include "PluginEditor.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

// Composition of panelImage: background, logo, switches, thumbs, LEDs and digits, in this order,
// each picture at its own size and at whole-pixel positions.
namespace
{
void drawSwitch (juce::Graphics& g, const juce::ToggleButton* button, const juce::Image& twoStates, int x, int y)
{
    if (button == nullptr)
        return;
    const int w = twoStates.getWidth(), h = twoStates.getHeight() / 2;
    g.drawImage (twoStates, x, y, w, h, 0, button->getToggleState() ? h : 0, w, h);
}

// "%d" of a value converted to int, truncating; values an int cannot hold become the nearest
// int that can, and NaN becomes 0.
int truncateToInt (double value)
{
    if (! (value == value))
        return 0;
    if (value >= (double) std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (value <= (double) std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return (int) value;
}

struct Readout
{
    double BriscaAudioProcessorEditor::*value;
    int x, y;
    bool asInteger;
    int cells;
};

const Readout readouts[] = {
    { &BriscaAudioProcessorEditor::inputDisplay, 12, 376, false, 5 },
    { &BriscaAudioProcessorEditor::rmsDisplay, 131, 376, true, 3 },
    { &BriscaAudioProcessorEditor::wideDisplay, 221, 376, true, 3 },
    { &BriscaAudioProcessorEditor::hpDisplay, 293, 376, true, 4 },
    { &BriscaAudioProcessorEditor::kneeDisplay, 388, 376, false, 5 },
    { &BriscaAudioProcessorEditor::thresholdDisplay, 483, 376, false, 5 },
    { &BriscaAudioProcessorEditor::ratioDisplay, 576, 376, false, 5 },
    { &BriscaAudioProcessorEditor::attackDisplay, 670, 376, false, 5 },
    { &BriscaAudioProcessorEditor::releaseDisplay, 764, 376, false, 5 },
    { &BriscaAudioProcessorEditor::outputDisplay, 868, 376, false, 5 },
    { &BriscaAudioProcessorEditor::wetDisplay, 985, 376, true, 3 },
    { &BriscaAudioProcessorEditor::grPeakHoldDb, 636, 7, false, 4 },
};
} // namespace

void BriscaAudioProcessorEditor::drawBG()
{
    juce::Graphics g (panelImage);
    g.drawImageAt (brisca::picture (1), 0, 0);
    g.drawImageAt (brisca::picture (7), 850, 12);

    drawSwitch (g, enableButton.get(), brisca::picture (3), 17, 12);
    drawSwitch (g, sideChainButton.get(), brisca::picture (11), 84, 12);
    drawSwitch (g, hpEnableButton.get(), brisca::picture (5), 196, 12);
    drawSwitch (g, msInputButton.get(), brisca::picture (9), 309, 12);
    drawSwitch (g, limitButton.get(), brisca::picture (6), 747, 17);

    const auto sliders = slidersByColumn();
    for (int column = 0; column < 11; ++column)
        if (auto* slider = sliders[(size_t) column])
            drawLinearSlider (g, 9 + 95 * column, slider->getY(), slider->getWidth(), slider->getHeight(), *slider);

    if (grLedCount > 0)
    {
        const auto leds = brisca::picture (8);
        const int width = grLedCount * (leds.getWidth() / 8);
        g.drawImage (leds, 489, 36, width, leds.getHeight(), 0, 0, width, leds.getHeight());
    }

    for (const auto& r : readouts)
        setNumberDisplay (g, r.x, r.y, r.asInteger, r.cells, this->*(r.value));
}

void BriscaAudioProcessorEditor::drawLinearSlider (juce::Graphics& g, int x, int, int, int, juce::Slider& slider)
{
    const float inv = (float) (1.0 - slider.getValue());
    const int top = (int) ((float) (slider.getHeight() - 80) * inv + 79 + 10);
    g.drawImageAt (brisca::picture (12), x, top);

    // The slot shows in the cap's chamfers only where there is slot beyond the cap.
    g.setOpacity (1.0f);
    if (inv <= 0.1f)
        g.setOpacity ((10 * inv) * (10 * inv));
    g.drawImageAt (brisca::picture (14), x, top);

    g.setOpacity (1.0f);
    if (inv >= 0.9f)
    {
        const float fade = (inv - 0.9f) * -10 + 1;
        g.setOpacity (fade * fade);
    }
    g.drawImageAt (brisca::picture (13), x, top);
    g.setOpacity (1.0f);
}

void BriscaAudioProcessorEditor::setNumberDisplay (juce::Graphics& g, int x, int y, bool asInteger, int cells, double value)
{
    cells = juce::jlimit (1, 9, cells);
    char text[10] = {};
    if (asInteger)
        std::snprintf (text, (size_t) cells + 1, "%d", truncateToInt (value));
    else
        std::snprintf (text, (size_t) cells + 1, "%.1f", value);
    const int length = (int) std::strlen (text);
    if (length == 0)
        return;

    const auto digits = brisca::picture (10);
    const auto point = brisca::picture (2);
    const int cellWidth = digits.getWidth();
    const int glyphHeight = digits.getHeight() / 11;

    x += (cells - length) * cellWidth;
    for (int i = 0; i < length; ++i)
    {
        if (i > 0)
            x += text[i - 1] == '.' ? point.getWidth() : cellWidth;
        const char c = text[i];
        if (c == '.')
        {
            g.drawImageAt (point, x, y);
            continue;
        }
        // Anything but a digit or a minus (the letters of "nan" or "inf") shows as a 0.
        const int glyph = c == '-' ? 10 : (c >= '0' && c <= '9' ? c - '0' : 0);
        g.drawImage (digits, x, y, cellWidth, glyphHeight, 0, glyph * glyphHeight, cellWidth, glyphHeight);
    }
}
