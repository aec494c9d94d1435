#include "Layout.h"
#include "Pictures.h"
#include "Surface.h"

// temp10 and temp2: amber seven-segment glyphs, 16 x 22 each, and the narrow point. Segments
// are hexagons with pointed ends; a soft glow around the lit segments stays inside the cell.
namespace art
{
namespace
{
constexpr float thick = 2.8f, gap = 0.45f;
constexpr float left = 3.6f, right = 12.4f, top = 2.0f, bottom = 20.0f;
constexpr float middle = (top + bottom) * 0.5f;

void horizontal (juce::Path& p, float y)
{
    const float x0 = left + gap, x1 = right - gap, t = thick * 0.5f;
    p.startNewSubPath (x0, y);
    p.lineTo (x0 + t, y - t);
    p.lineTo (x1 - t, y - t);
    p.lineTo (x1, y);
    p.lineTo (x1 - t, y + t);
    p.lineTo (x0 + t, y + t);
    p.closeSubPath();
}

void vertical (juce::Path& p, float x, float y0, float y1)
{
    const float t = thick * 0.5f;
    y0 += gap;
    y1 -= gap;
    p.startNewSubPath (x, y0);
    p.lineTo (x + t, y0 + t);
    p.lineTo (x + t, y1 - t);
    p.lineTo (x, y1);
    p.lineTo (x - t, y1 - t);
    p.lineTo (x - t, y0 + t);
    p.closeSubPath();
}

// Segments a..g as bits 0..6: a top, b upper right, c lower right, d bottom, e lower left,
// f upper left, g middle.
constexpr int segmentsOf[11] = { 0x3f, 0x06, 0x5b, 0x4f, 0x66, 0x6d, 0x7d, 0x07, 0x7f, 0x6f, 0x40 };

const juce::Colour litCore { 0xffffb347 };
const juce::Colour litEdge { 0xffff8414 };
const juce::Colour glowColour { 0xffff6a00 };

void paintGlyph (juce::Image& image, const juce::Path& shape, int cellY)
{
    const int w = image.getWidth();
    auto placed = shape;
    placed.applyTransform (juce::AffineTransform::translation (0.0f, (float) cellY));
    auto glow = Mask::fromPath (placed, w, image.getHeight());
    glow.blur (1.5f);
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < w; ++x)
            if (y < cellY || y >= cellY + glyphHeight)
                glow.at (x, y) = 0.0f;
    paintMask (image, glow, glowColour.withAlpha (0.55f));

    juce::Graphics g (image);
    g.setGradientFill (juce::ColourGradient (litCore, 0.0f, (float) cellY + top, litEdge, 0.0f, (float) cellY + bottom, false));
    g.fillPath (placed);
}
} // namespace

juce::Path digitShape (int glyph)
{
    const int s = segmentsOf[glyph];
    const float lx = left + thick * 0.5f, rx = right - thick * 0.5f;
    const float ty = top + thick * 0.5f, by = bottom - thick * 0.5f;
    juce::Path p;
    if (s & 0x01) horizontal (p, ty);
    if (s & 0x02) vertical (p, rx, ty, middle);
    if (s & 0x04) vertical (p, rx, middle, by);
    if (s & 0x08) horizontal (p, by);
    if (s & 0x10) vertical (p, lx, middle, by);
    if (s & 0x20) vertical (p, lx, ty, middle);
    if (s & 0x40) horizontal (p, middle);
    return p;
}

juce::Path pointShape()
{
    juce::Path p;
    p.addRectangle (2.6f, bottom - thick - 0.2f, thick + 0.2f, thick + 0.2f);
    return p;
}

juce::Image renderDigits()
{
    juce::Image strip (juce::Image::ARGB, glyphWidth, glyphHeight * 11, true);
    for (int glyph = 0; glyph < 11; ++glyph)
        paintGlyph (strip, digitShape (glyph), glyph * glyphHeight);
    return strip;
}

juce::Image renderPoint()
{
    juce::Image point (juce::Image::ARGB, pointWidth, glyphHeight, true);
    paintGlyph (point, pointShape(), 0);
    return point;
}
} // namespace art
