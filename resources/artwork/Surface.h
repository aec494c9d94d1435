#pragma once

#include <juce_graphics/juce_graphics.h>

#include <vector>

// Drawing materials shared by all the pictures: coverage masks that can be blurred into glows
// and shadows, brushed metal, and text turned into paths. Light always comes from above.
namespace art
{
struct Mask
{
    Mask (int w, int h);

    // Coverage of a filled path, antialiased, in this mask's pixel grid.
    static Mask fromPath (const juce::Path& path, int w, int h);

    void blur (float radius);
    void multiply (float factor);
    float at (int x, int y) const { return alpha[(size_t) (y * width + x)]; }
    float& at (int x, int y) { return alpha[(size_t) (y * width + x)]; }

    int width, height;
    std::vector<float> alpha;
};

// Blends a colour over the image where the mask covers it (offset by dx, dy).
void paintMask (juce::Image& image, const Mask& mask, juce::Colour colour, int dx = 0, int dy = 0);

// Horizontal brushing streaks plus fine grain over an area, as brightness changes of the
// pixels already there.
void brushMetal (juce::Image& image, juce::Rectangle<int> area, float strength, int seed);

// A soft shadow of a path: blurred coverage, offset downwards.
void dropShadow (juce::Image& image, const juce::Path& path, float radius, int offsetY, juce::Colour colour);

// Inner shadow of a recess: dark along the top edge (light from above), faint light at the
// bottom lip.
void recess (juce::Image& image, const juce::Path& shape, float depth);

// Fonts are loaded from files so a regenerated picture does not depend on font matching.
juce::Font fontFromFile (const char* path);
juce::Font captionFont();
juce::Font logoFont();

// Text as a path with its baseline at y, its caps exactly capHeight pixels tall, centred on
// centreX, with extra letter spacing in pixels.
juce::Path textPath (const juce::String& text, const juce::Font& font, float capHeight, float centreX,
                     float baselineY, float letterSpacing = 0.0f);
} // namespace art
