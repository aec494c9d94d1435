#include "EditorPictures.h"
#include "EditorTestSupport.h"

#include <limits>
#include <vector>

// The segment-digit renderer: formatting, cutting, right alignment in 16 px cells, the 8 px
// point and unknown characters shown as 0. Each case is compared with the glyphs placed by hand
// at the positions worked out from the cell rules.
namespace
{
struct Glyph
{
    char c;
    int x;
};

struct Case
{
    const char* name;
    double value;
    bool asInteger;
    int cells, x, y;
    std::vector<Glyph> expected;
};

const double nan = std::numeric_limits<double>::quiet_NaN();
const double inf = std::numeric_limits<double>::infinity();

const Case cases[] = {
    { "minus twenty in five cells", -20.0, false, 5, 12, 376, { { '-', 12 }, { '2', 28 }, { '0', 44 }, { '.', 60 }, { '0', 68 } } },
    { "single digit right-aligned", 7.0, true, 3, 131, 376, { { '7', 163 } } },
    { "held peak 99.9", 99.9, false, 4, 636, 7, { { '9', 636 }, { '9', 652 }, { '.', 668 }, { '9', 676 } } },
    { "100.0 cut to four characters", 100.0, false, 4, 636, 7, { { '1', 636 }, { '0', 652 }, { '0', 668 }, { '.', 684 } } },
    { "integer truncates", 99.9, true, 3, 221, 376, { { '9', 237 }, { '9', 253 } } },
    { "four-digit frequency", 2000.0, true, 4, 293, 376, { { '2', 293 }, { '0', 309 }, { '0', 325 }, { '0', 341 } } },
    { "long number cut at its end", 12345.6, false, 5, 12, 376, { { '1', 12 }, { '2', 28 }, { '3', 44 }, { '4', 60 }, { '5', 76 } } },
    { "not a number as three zeros", nan, false, 5, 12, 376, { { '0', 44 }, { '0', 60 }, { '0', 76 } } },
    { "infinity as three zeros", inf, false, 5, 483, 376, { { '0', 515 }, { '0', 531 }, { '0', 547 } } },
    { "not a number as an integer shows 0", nan, true, 3, 985, 376, { { '0', 1017 } } },
};

void drawGlyph (juce::Graphics& g, char c, int x, int y)
{
    if (c == '.')
    {
        g.drawImageAt (brisca::picture (2), x, y);
        return;
    }
    const int glyph = c == '-' ? 10 : c - '0';
    g.drawImage (brisca::picture (10), x, y, 16, 22, 0, 22 * glyph, 16, 22);
}
} // namespace

using NumberRenderer = EditorTest;

TEST_F (NumberRenderer, PlacesGlyphsByTheCellRules)
{
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        juce::Image drawn (juce::Image::ARGB, 1045, 410, true), expected (juce::Image::ARGB, 1045, 410, true);
        {
            juce::Graphics g (drawn);
            editor->setNumberDisplay (g, c.x, c.y, c.asInteger, c.cells, c.value);
        }
        {
            juce::Graphics g (expected);
            for (auto glyph : c.expected)
                drawGlyph (g, glyph.c, glyph.x, c.y);
        }
        EXPECT_TRUE (samePixels (drawn, drawn.getBounds(), expected, {}));
    }
}
