#include "Layout.h"
#include "Pictures.h"
#include "Surface.h"

// temp8: the lit gain-reduction LEDs, six green then two amber, each in its own 27 px cell so
// that any number of them can be cut from the left. Each LED lights the window around its lens
// a little, across its whole cell.
namespace art
{
juce::Image renderLedStrip()
{
    const int w = ledPitch * ledCount, h = ledStripHeight;
    juce::Image strip (juce::Image::ARGB, w, h, true);
    const auto toStrip = juce::AffineTransform::translation ((float) -ledX, (float) -ledY);

    for (int i = 0; i < ledCount; ++i)
    {
        const bool amber = i >= 6;
        const juce::Colour glow = amber ? juce::Colour (0xffff8a1a) : juce::Colour (0xff3cf05a);
        const juce::Colour core = amber ? juce::Colour (0xfffff0c8) : juce::Colour (0xffe0ffd8);
        const juce::Colour body = amber ? juce::Colour (0xffffa53a) : juce::Colour (0xff4ee868);
        const juce::Colour rim = amber ? juce::Colour (0xffc85a0a) : juce::Colour (0xff16a032);

        auto lens = ledLens (i);
        lens.applyTransform (toStrip);
        const auto cell = juce::Rectangle<int> (i * ledPitch, 0, ledPitch, h);

        // Spill: a faint wash over the cell and a brighter halo close to the lens.
        Mask spill (w, h);
        for (int y = 0; y < h; ++y)
            for (int x = cell.getX(); x < cell.getRight(); ++x)
                spill.at (x, y) = 0.035f;
        paintMask (strip, spill, glow);
        auto halo = Mask::fromPath (lens, w, h);
        halo.blur (3.0f);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (! cell.contains (x, y))
                    halo.at (x, y) = 0.0f;
        halo.multiply (1.1f);
        paintMask (strip, halo, glow.withAlpha (0.75f));

        juce::Graphics g (strip);
        const auto b = lens.getBounds();
        juce::ColourGradient fill (core, b.getCentreX(), b.getCentreY(), rim, b.getX() - 2.0f, b.getY() - 2.0f, true);
        fill.addColour (0.45, body);
        g.setGradientFill (fill);
        g.fillPath (lens);
        g.setColour (juce::Colours::white.withAlpha (0.35f));
        g.fillRoundedRectangle (b.withHeight (4.0f).reduced (3.0f, 0.0f).translated (0.0f, 1.5f), 1.5f);
        g.setColour (rim.darker (0.6f).withAlpha (0.8f));
        g.strokePath (lens, juce::PathStrokeType (1.0f));
    }
    return strip;
}
} // namespace art
