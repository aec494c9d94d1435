#include "BriscaPictures.h"
#include "EditorPictures.h"

#include <gtest/gtest.h>

// The fourteen embedded pictures against the table the drawing code relies on: sizes, PNG
// colour types, and where they must be transparent or opaque.
namespace
{
using namespace brisca::pictures;

struct Entry
{
    int number;
    const unsigned char* png;
    int width, height;
    int colourType; // 2 = RGB, 6 = RGBA
};

const Entry table[] = {
    { 1, temp1, 1045, 410, 2 }, { 2, temp2, 8, 22, 6 },   { 3, temp3, 44, 88, 6 },    { 4, temp4, 57, 28, 6 },
    { 5, temp5, 86, 88, 2 },    { 6, temp6, 86, 64, 2 },  { 7, temp7, 182, 49, 6 },   { 8, temp8, 216, 26, 6 },
    { 9, temp9, 86, 88, 2 },    { 10, temp10, 16, 242, 6 }, { 11, temp11, 86, 88, 2 }, { 12, temp12, 78, 55, 6 },
    { 13, temp13, 78, 55, 6 },  { 14, temp14, 78, 55, 6 },
};

int bigEndian (const unsigned char* p) { return (p[0] << 24) | (p[1] << 16) | (p[2] << 8) | p[3]; }

int alphaAt (const juce::Image& image, int x, int y) { return image.getPixelAt (x, y).getAlpha(); }
} // namespace

TEST (Pictures, HaveTheSizesAndColourTypesOfTheTable)
{
    for (const auto& e : table)
    {
        SCOPED_TRACE ("temp" + std::to_string (e.number));
        // The PNG header: width and height, then bit depth and colour type.
        EXPECT_EQ (bigEndian (e.png + 16), e.width);
        EXPECT_EQ (bigEndian (e.png + 20), e.height);
        EXPECT_EQ (e.png[24], 8);
        EXPECT_EQ (e.png[25], e.colourType);
        const auto decoded = brisca::picture (e.number);
        EXPECT_EQ (decoded.getWidth(), e.width);
        EXPECT_EQ (decoded.getHeight(), e.height);
    }
    EXPECT_FALSE (brisca::picture (15).isValid());
}

TEST (Pictures, TransparencyIsWhereTheDrawingExpectsIt)
{
    const auto hitArea = brisca::picture (4), power = brisca::picture (3);
    for (int y = 0; y < hitArea.getHeight(); ++y)
        for (int x = 0; x < hitArea.getWidth(); ++x)
            ASSERT_EQ (alphaAt (hitArea, x, y), 0) << x << "," << y;
    for (int y = 0; y < power.getHeight(); ++y)
        for (int x = 0; x < power.getWidth(); ++x)
            ASSERT_EQ (alphaAt (power, x, y), 255) << x << "," << y;

    // Thumb: nothing above row 6, a solid cap in rows 6..47, only shadow below.
    const auto thumb = brisca::picture (12);
    for (int y = 0; y < 55; ++y)
    {
        for (int x = 0; x < 78; ++x)
        {
            if (y < 6)
                ASSERT_EQ (alphaAt (thumb, x, y), 0) << x << "," << y;
            if (y > 47)
                ASSERT_LT (alphaAt (thumb, x, y), 255) << x << "," << y;
        }
        if (y >= 6 && y <= 47)
            ASSERT_EQ (alphaAt (thumb, 38, y), 255) << y;
    }

    // Slot shades: translucent black, only over columns 32..45 of their rows.
    const struct { int number, firstRow; } shades[] = { { 13, 38 }, { 14, 6 } };
    for (auto s : shades)
    {
        const auto shade = brisca::picture (s.number);
        for (int y = 0; y < 55; ++y)
            for (int x = 0; x < 78; ++x)
            {
                const auto c = shade.getPixelAt (x, y);
                const bool inPatch = x >= 32 && x <= 45 && y >= s.firstRow && y < s.firstRow + 10;
                if (! inPatch)
                    ASSERT_EQ (c.getAlpha(), 0) << "temp" << s.number << " " << x << "," << y;
                else
                    ASSERT_LT (c.getAlpha(), 255);
                if (c.getAlpha() > 0)
                    ASSERT_EQ (c.getRed() + c.getGreen() + c.getBlue(), 0);
            }
        EXPECT_GT (shade.getPixelAt (38, s.firstRow + 4).getAlpha(), 64);
    }
}

TEST (Pictures, LedStripHasSixGreenThenTwoAmberLedsEachInItsOwnCell)
{
    const auto leds = brisca::picture (8);
    for (int led = 0; led < 8; ++led)
    {
        const auto centre = leds.getPixelAt (27 * led + 13, 13);
        EXPECT_EQ (centre.getAlpha(), 255) << led;
        if (led < 6)
            EXPECT_GT (centre.getGreen(), centre.getRed()) << led;
        else
            EXPECT_GT (centre.getRed(), centre.getGreen()) << led;
    }
    // Every column carries some light, so cutting n LEDs changes exactly 27 n columns.
    for (int x = 0; x < leds.getWidth(); ++x)
    {
        int strongest = 0;
        for (int y = 0; y < leds.getHeight(); ++y)
            strongest = std::max (strongest, alphaAt (leds, x, y));
        EXPECT_GT (strongest, 0) << x;
    }
}

TEST (Pictures, DigitStripHoldsElevenDistinctGlyphsWithMinusInTheMiddle)
{
    const auto digits = brisca::picture (10);
    auto lit = [&] (int glyph, int x, int y) { return alphaAt (digits, x, 22 * glyph + y) > 128; };
    for (int a = 0; a < 11; ++a)
        for (int b = a + 1; b < 11; ++b)
        {
            bool differ = false;
            for (int y = 0; y < 22 && ! differ; ++y)
                for (int x = 0; x < 16 && ! differ; ++x)
                    differ = lit (a, x, y) != lit (b, x, y);
            EXPECT_TRUE (differ) << a << " vs " << b;
        }
    for (int y = 0; y < 22; ++y)
        for (int x = 0; x < 16; ++x)
            if (y < 7 || y > 14)
                EXPECT_FALSE (lit (10, x, y)) << x << "," << y;
    // The point sits at the bottom of its narrow cell.
    const auto point = brisca::picture (2);
    EXPECT_GT (alphaAt (point, 4, 18), 128);
    EXPECT_LT (alphaAt (point, 4, 8), 32);
}
