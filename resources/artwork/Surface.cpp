#include "Surface.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace art
{
Mask::Mask (int w, int h) : width (w), height (h), alpha ((size_t) (w * h), 0.0f) {}

Mask Mask::fromPath (const juce::Path& path, int w, int h)
{
    juce::Image coverage (juce::Image::SingleChannel, w, h, true);
    {
        juce::Graphics g (coverage);
        g.setColour (juce::Colours::white);
        g.fillPath (path);
    }
    Mask m (w, h);
    const juce::Image::BitmapData data (coverage, juce::Image::BitmapData::readOnly);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            m.at (x, y) = *data.getPixelPointer (x, y) / 255.0f;
    return m;
}

void Mask::blur (float radius)
{
    const int reach = (int) std::ceil (radius * 3.0f);
    std::vector<float> kernel ((size_t) (2 * reach + 1));
    float sum = 0.0f;
    for (int i = -reach; i <= reach; ++i)
    {
        const float k = std::exp (-(float) (i * i) / (2.0f * radius * radius));
        kernel[(size_t) (i + reach)] = k;
        sum += k;
    }
    for (auto& k : kernel)
        k /= sum;

    std::vector<float> temp (alpha.size());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            float v = 0.0f;
            for (int i = -reach; i <= reach; ++i)
                if (x + i >= 0 && x + i < width)
                    v += kernel[(size_t) (i + reach)] * at (x + i, y);
            temp[(size_t) (y * width + x)] = v;
        }
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            float v = 0.0f;
            for (int i = -reach; i <= reach; ++i)
                if (y + i >= 0 && y + i < height)
                    v += kernel[(size_t) (i + reach)] * temp[(size_t) ((y + i) * width + x)];
            at (x, y) = v;
        }
}

void Mask::multiply (float factor)
{
    for (auto& a : alpha)
        a = juce::jlimit (0.0f, 1.0f, a * factor);
}

void paintMask (juce::Image& image, const Mask& mask, juce::Colour colour, int dx, int dy)
{
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x)
        {
            const int px = x + dx, py = y + dy;
            const float a = mask.at (x, y) * colour.getFloatAlpha();
            if (a <= 0.0f || px < 0 || py < 0 || px >= image.getWidth() || py >= image.getHeight())
                continue;
            const auto under = image.getPixelAt (px, py);
            image.setPixelAt (px, py, under.overlaidWith (colour.withAlpha (juce::jmin (1.0f, a))));
        }
}

void brushMetal (juce::Image& image, juce::Rectangle<int> area, float strength, int seed)
{
    juce::Random random (seed);
    const int w = area.getWidth();
    std::vector<float> row ((size_t) w), smooth ((size_t) w);
    for (int y = area.getY(); y < area.getBottom(); ++y)
    {
        for (auto& v : row)
            v = random.nextFloat() - 0.5f;
        // Long horizontal averaging turns white noise into brushing streaks.
        const int reach = 40;
        float acc = 0.0f;
        for (int i = -reach; i <= reach; ++i)
            acc += row[(size_t) juce::jlimit (0, w - 1, i)];
        for (int x = 0; x < w; ++x)
        {
            smooth[(size_t) x] = acc / (float) (2 * reach + 1);
            acc += row[(size_t) juce::jlimit (0, w - 1, x + reach + 1)] - row[(size_t) juce::jlimit (0, w - 1, x - reach)];
        }
        const float rowTone = (random.nextFloat() - 0.5f) * 0.5f;
        for (int x = 0; x < w; ++x)
        {
            const float delta = strength * (smooth[(size_t) x] * 9.0f + rowTone + row[(size_t) x] * 0.35f);
            const int px = area.getX() + x;
            const auto c = image.getPixelAt (px, y);
            image.setPixelAt (px, y, delta > 0 ? c.brighter (delta) : c.darker (-delta));
        }
    }
}

void dropShadow (juce::Image& image, const juce::Path& path, float radius, int offsetY, juce::Colour colour)
{
    auto m = Mask::fromPath (path, image.getWidth(), image.getHeight());
    m.blur (radius);
    paintMask (image, m, colour, 0, offsetY);
}

void recess (juce::Image& image, const juce::Path& shape, float depth)
{
    const int w = image.getWidth(), h = image.getHeight();
    auto inside = Mask::fromPath (shape, w, h);

    // The wall hides light near the upper edge: shadow = inside minus a blurred copy shifted down.
    auto shifted = Mask (w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            shifted.at (x, y) = y >= 2 ? inside.at (x, y - 2) : 0.0f;
    shifted.blur (1.6f);
    Mask shadow (w, h);
    for (size_t i = 0; i < shadow.alpha.size(); ++i)
        shadow.alpha[i] = juce::jlimit (0.0f, 1.0f, inside.alpha[i] - shifted.alpha[i]) * inside.alpha[i];
    shadow.multiply (depth);
    paintMask (image, shadow, juce::Colours::black);

    // The lower lip catches the light: outside the shape, just below its bottom edge.
    Mask lip (w, h);
    for (int y = 1; y < h; ++y)
        for (int x = 0; x < w; ++x)
            lip.at (x, y) = juce::jlimit (0.0f, 1.0f, inside.at (x, y - 1) - inside.at (x, y));
    lip.multiply (0.22f);
    paintMask (image, lip, juce::Colours::white);
}

juce::Font fontFromFile (const char* path)
{
    juce::MemoryBlock data;
    if (! juce::File (path).loadFileAsData (data))
    {
        std::fprintf (stderr, "artwork: cannot read font %s (install fonts-dejavu-core)\n", path);
        std::exit (1);
    }
    return juce::Font (juce::Typeface::createSystemTypefaceFor (data.getData(), data.getSize()));
}

juce::Font captionFont()
{
    static const auto font = fontFromFile ("/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf");
    return font;
}

juce::Font logoFont()
{
    static const auto font = fontFromFile ("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf");
    return font;
}

juce::Path textPath (const juce::String& text, const juce::Font& font, float capHeight, float centreX,
                     float baselineY, float letterSpacing)
{
    // Measure the caps of this font once at a large size, then scale to the wanted height.
    const auto big = font.withHeight (100.0f);
    juce::GlyphArrangement probe;
    probe.addLineOfText (big, "H", 0.0f, 0.0f);
    juce::Path h;
    probe.createPath (h);
    const float scale = capHeight / h.getBounds().getHeight();

    juce::GlyphArrangement glyphs;
    glyphs.addLineOfText (big, text, 0.0f, 0.0f);
    juce::Path result;
    float x = 0.0f;
    for (int i = 0; i < glyphs.getNumGlyphs(); ++i)
    {
        const auto& glyph = glyphs.getGlyph (i);
        juce::Path p;
        glyph.createPath (p);
        p.applyTransform (juce::AffineTransform::translation (-glyph.getLeft(), 0.0f)
                              .scaled (scale)
                              .translated (x, 0.0f));
        result.addPath (p);
        x += glyph.getRight() * scale - glyph.getLeft() * scale + letterSpacing;
    }
    const float width = x - letterSpacing;
    result.applyTransform (juce::AffineTransform::translation (centreX - width * 0.5f, baselineY));
    return result;
}
} // namespace art
