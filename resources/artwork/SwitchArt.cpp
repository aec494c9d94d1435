#include "Layout.h"
#include "Pictures.h"
#include "Surface.h"

// The five switch pictures, off state on top and lit state below. Each is a dark key sitting in
// its well on the panel; the legend (or the power bolt) and a light bar below it glow in the
// switch's colour when on. The pictures are cut from the panel first so their corners match it.
namespace art
{
namespace
{
struct SwitchStyle
{
    Box place;
    const char* legend;
    float capHeight;
    juce::Colour lit;
};

SwitchStyle styleOf (SwitchKind kind)
{
    switch (kind)
    {
        case SwitchKind::power:     return { powerSwitch, "", 0.0f, juce::Colour (0xffff9a2e) };
        case SwitchKind::sideChain: return { sideChainSwitch, "SIDE CHAIN", 7.5f, juce::Colour (0xff52f070) };
        case SwitchKind::hp:        return { hpSwitch, "HP", 10.0f, juce::Colour (0xff4fb4ff) };
        case SwitchKind::msInput:   return { msSwitch, "M/S INPUT", 7.5f, juce::Colour (0xff4fb4ff) };
        case SwitchKind::limit:     return { limitSwitch, "LIMIT", 7.5f, juce::Colour (0xffff9a2e) };
    }
    return {};
}

juce::Path bolt (float w, float h)
{
    juce::Path p;
    p.startNewSubPath (25.0f, 8.0f);
    p.lineTo (13.5f, 25.0f);
    p.lineTo (21.0f, 25.0f);
    p.lineTo (18.0f, 36.5f);
    p.lineTo (30.5f, 18.5f);
    p.lineTo (23.0f, 18.5f);
    p.lineTo (27.5f, 8.0f);
    p.closeSubPath();
    p.applyTransform (juce::AffineTransform::translation ((w - 44.0f) * 0.5f, (h - 44.0f) * 0.5f));
    return p;
}

void glowing (juce::Image& image, const juce::Path& shape, juce::Colour colour, float radius, float strength)
{
    auto m = Mask::fromPath (shape, image.getWidth(), image.getHeight());
    m.blur (radius);
    m.multiply (strength);
    paintMask (image, m, colour);
}

juce::Image oneState (const juce::Image& panel, const SwitchStyle& style, bool on, bool power)
{
    const auto p = style.place;
    juce::Image state (juce::Image::ARGB, p.w, p.h, true);
    {
        juce::Graphics g (state);
        g.drawImageAt (panel.getClippedImage ({ p.x, p.y, p.w, p.h }), 0, 0);
    }
    const float w = (float) p.w, h = (float) p.h;
    const auto capRect = juce::Rectangle<float> (2.0f, 2.0f, w - 4.0f, h - 4.0f);
    juce::Path cap;
    cap.addRoundedRectangle (capRect, power ? 7.0f : 4.0f);
    dropShadow (state, cap, 1.4f, 2, juce::Colours::black.withAlpha (0.9f));

    {
        juce::Graphics g (state);
        g.setGradientFill (juce::ColourGradient (juce::Colour (0xff41454b), 0, capRect.getY(), juce::Colour (0xff25272b), 0, capRect.getBottom(), false));
        g.fillPath (cap);
        if (on)
        {
            // Light from the legend leaks into the translucent key.
            g.setColour (style.lit.withAlpha (0.05f));
            g.fillPath (cap);
        }
        g.setColour (juce::Colour (0x38ffffff));
        g.fillRect (capRect.reduced (3.0f, 0.0f).withHeight (1.0f));
        g.setColour (juce::Colour (0xc0000000));
        g.strokePath (cap, juce::PathStrokeType (1.0f));
    }

    juce::Path legend;
    juce::Path bar;
    if (power)
    {
        legend = bolt (w, h);
    }
    else
    {
        const float baseline = p.h >= 44 ? 24.0f : 16.0f;
        legend = textPath (style.legend, captionFont(), style.capHeight, w * 0.5f, baseline + (style.capHeight > 9.0f ? 1.0f : 0.0f), 1.0f);
        const float barY = p.h >= 44 ? 31.0f : 22.0f;
        bar.addRoundedRectangle (w * 0.5f - 16.0f, barY, 32.0f, 3.0f, 1.5f);
    }

    if (on)
    {
        glowing (state, legend, style.lit, 3.0f, 0.9f);
        if (! bar.isEmpty())
            glowing (state, bar, style.lit, 2.5f, 1.2f);
        juce::Graphics g (state);
        g.setColour (style.lit.interpolatedWith (juce::Colours::white, 0.35f));
        g.fillPath (legend);
        if (! bar.isEmpty())
        {
            g.setColour (style.lit.interpolatedWith (juce::Colours::white, 0.5f));
            g.fillPath (bar);
        }
    }
    else
    {
        juce::Graphics g (state);
        // Unlit print: grey, with a faint light edge below like a shallow engraving.
        auto edge = legend;
        edge.applyTransform (juce::AffineTransform::translation (0.0f, 1.0f));
        g.setColour (juce::Colour (0x22ffffff));
        g.fillPath (edge);
        g.setColour (power ? juce::Colour (0xff15161a) : juce::Colour (0xff8a8e94));
        g.fillPath (legend);
        if (power)
        {
            g.setColour (juce::Colour (0xff5b5f66));
            g.strokePath (legend, juce::PathStrokeType (1.0f));
        }
        if (! bar.isEmpty())
        {
            g.setColour (juce::Colour (0xff101113));
            g.fillPath (bar);
            g.setColour (juce::Colour (0x1cffffff));
            g.fillRect (bar.getBounds().translated (0.0f, 3.0f).withHeight (1.0f));
        }
    }
    return state;
}
} // namespace

juce::Image renderSwitch (const juce::Image& panel, SwitchKind kind)
{
    const auto style = styleOf (kind);
    const bool power = kind == SwitchKind::power;
    const auto p = style.place;
    // The power key keeps an alpha channel (fully opaque); the others are plain RGB.
    juce::Image picture (power ? juce::Image::ARGB : juce::Image::RGB, p.w, 2 * p.h, true);
    juce::Graphics g (picture);
    g.drawImageAt (oneState (panel, style, false, power), 0, 0);
    g.drawImageAt (oneState (panel, style, true, power), 0, p.h);
    return picture;
}
} // namespace art
