#include "Layout.h"
#include "Pictures.h"
#include "Surface.h"

// temp12: the fader cap, brushed aluminium with chamfered ends, grip grooves and a dark index
// line at its centre; it casts a soft shadow downwards. temp13/temp14: the slot mirrored in the
// lower and upper chamfers, drawn over the cap and faded by the editor near the slot's ends.
namespace art
{
namespace
{
const juce::Rectangle<float> cap { (float) capLeft, (float) capTop, (float) (capRight - capLeft + 1), (float) (capBottom - capTop + 1) };
constexpr float chamfer = 10.0f;
} // namespace

juce::Image renderThumb()
{
    juce::Image thumb (juce::Image::ARGB, sliderWidth, thumbHeight, true);
    juce::Path outline;
    outline.addRoundedRectangle (cap, 2.5f);

    // Shadow on the panel below and beside the cap.
    {
        auto m = Mask::fromPath (outline, sliderWidth, thumbHeight);
        m.blur (2.6f);
        // Light falls from above: nothing above the cap's top edge.
        for (int y = 0; y < capTop + 4; ++y)
            for (int x = 0; x < sliderWidth; ++x)
                m.at (x, y) = 0.0f;
        paintMask (thumb, m, juce::Colours::black.withAlpha (0.85f), 0, 4);
    }

    {
        juce::Graphics g (thumb);
        g.reduceClipRegion (outline);

        // Top chamfer faces the light, bottom chamfer faces away.
        const auto top = cap.withHeight (chamfer);
        g.setGradientFill (juce::ColourGradient (juce::Colour (0xfff4f5f6), 0, top.getY(), juce::Colour (0xffb9bdc2), 0, top.getBottom(), false));
        g.fillRect (top);
        const auto face = cap.withTrimmedTop (chamfer).withTrimmedBottom (chamfer);
        g.setGradientFill (juce::ColourGradient (juce::Colour (0xffc3c7cc), 0, face.getY(), juce::Colour (0xff9da2a8), 0, face.getBottom(), false));
        g.fillRect (face);
        const auto bottom = cap.withTrimmedTop (cap.getHeight() - chamfer);
        g.setGradientFill (juce::ColourGradient (juce::Colour (0xff74787e), 0, bottom.getY(), juce::Colour (0xff44474c), 0, bottom.getBottom(), false));
        g.fillRect (bottom);
    }
    brushMetal (thumb, cap.withTrimmedTop (chamfer).withTrimmedBottom (chamfer).toNearestInt(), 0.05f, 41);

    juce::Graphics g (thumb);
    g.saveState();
    g.reduceClipRegion (outline);
    const float faceTop = cap.getY() + chamfer, faceBottom = cap.getBottom() - chamfer;
    // Edges between chamfers and face.
    g.setColour (juce::Colour (0x70ffffff));
    g.fillRect (cap.getX(), faceTop, cap.getWidth(), 1.0f);
    g.setColour (juce::Colour (0x60000000));
    g.fillRect (cap.getX(), faceBottom - 1.0f, cap.getWidth(), 1.0f);

    // Grip grooves above and below the index line: a dark cut with a lit lower edge.
    const float centre = cap.getY() + 20.5f;
    for (float dy : { -8.0f, -4.0f, 4.0f, 8.0f })
    {
        const float y = centre + dy;
        g.setColour (juce::Colour (0x68000000));
        g.fillRect (cap.getX() + 4.0f, y - 1.0f, cap.getWidth() - 8.0f, 1.0f);
        g.setColour (juce::Colour (0x80ffffff));
        g.fillRect (cap.getX() + 4.0f, y, cap.getWidth() - 8.0f, 1.0f);
    }
    // Index line: shows where the value is read against the scale ticks.
    g.setColour (juce::Colour (0xff17181a));
    g.fillRect (cap.getX() + 1.0f, centre - 1.0f, cap.getWidth() - 2.0f, 2.0f);
    g.setColour (juce::Colour (0x90ffffff));
    g.fillRect (cap.getX() + 1.0f, centre + 1.0f, cap.getWidth() - 2.0f, 1.0f);

    g.restoreState();
    // The cap's dark edge, kept inside its outline.
    juce::Path edge;
    edge.addRoundedRectangle (cap.reduced (0.5f), 2.0f);
    g.setColour (juce::Colour (0xa0000000));
    g.strokePath (edge, juce::PathStrokeType (1.0f));
    return thumb;
}

juce::Image renderShade (bool upper)
{
    juce::Image shade (juce::Image::ARGB, sliderWidth, thumbHeight, true);
    const int firstRow = upper ? capTop : capBottom - shadeRows + 1;
    for (int row = 0; row < shadeRows; ++row)
    {
        // Strongest next to the cap's edge, where the chamfer sees most of the slot.
        const float towardsEdge = upper ? 1.0f - (float) row / (float) shadeRows : (float) (row + 1) / (float) shadeRows;
        for (int x = shadeLeft; x <= shadeRight; ++x)
        {
            const float fromCentre = std::abs ((float) x - 38.5f) / 7.0f;
            const float across = juce::jlimit (0.0f, 1.0f, 1.15f - fromCentre * fromCentre);
            const float alpha = 0.75f * across * (0.55f + 0.45f * towardsEdge);
            shade.setPixelAt (x, firstRow + row, juce::Colours::black.withAlpha (alpha));
        }
    }
    return shade;
}
} // namespace art
