#pragma once

#include <array>
#include <cstddef>

// Where things sit on the 1045 x 410 panel. The editor draws its switches, thumbs, LEDs and
// digits at these same spots, so the printed frames, slots and boxes must line up with them.
namespace art
{
constexpr int panelWidth = 1045;
constexpr int panelHeight = 410;

// The top bridge holds the switches, the meter and the logo; the faders live below it.
constexpr int bridgeBottom = 72;

struct Box
{
    int x, y, w, h;
};

// Switch pictures: one state is this size; the picture holds both states stacked.
constexpr Box powerSwitch { 17, 12, 44, 44 };
constexpr Box sideChainSwitch { 84, 12, 86, 44 };
constexpr Box hpSwitch { 196, 12, 86, 44 };
constexpr Box msSwitch { 309, 12, 86, 44 };
constexpr Box limitSwitch { 747, 17, 86, 32 };

constexpr Box logo { 850, 12, 182, 49 };

// Gain-reduction window: eight LEDs of 27 px and the held-peak digits (4 cells at 636, 7).
constexpr int ledX = 489, ledY = 36, ledPitch = 27, ledCount = 8, ledStripHeight = 26;
constexpr Box grWindow { 480, 2, 234, 67 };
constexpr Box peakBox { 631, 5, 74, 27 };
constexpr int screwX = 438, screwY = 37;

// Fader columns: slider x = 9 + 95 c, 78 wide, 289 high from y 79.
constexpr int columns = 11;
constexpr int sliderX (int column) { return 9 + 95 * column; }
constexpr int sliderTop = 79, sliderWidth = 78, sliderHeight = 289;

// Thumb picture geometry: the cap is opaque in rows 6..47; the slot shows through columns
// 32..45 of the picture.
constexpr int thumbHeight = 55, capTop = 6, capBottom = 47, capLeft = 9, capRight = 68;
constexpr int slotLeft = 35, slotRight = 42; // inclusive columns within the slider
constexpr int shadeLeft = 32, shadeRight = 45, shadeRows = 10;

// Thumb top for slider value s, as the editor computes it.
inline int thumbTop (float s)
{
    const float inv = 1.0f - s;
    return (int) ((float) (sliderHeight - 80) * inv + 79 + 10);
}

// Digit glyphs of the read-outs.
constexpr int glyphWidth = 16, glyphHeight = 22, pointWidth = 8;
constexpr int readoutY = 376;
constexpr std::array<int, columns> readoutX { 12, 131, 221, 293, 388, 483, 576, 670, 764, 868, 985 };
constexpr std::array<int, columns> readoutCells { 5, 3, 3, 4, 5, 5, 5, 5, 5, 5, 3 };
constexpr std::array<bool, columns> readoutDecimal { true, false, false, false, true, true, true, true, true, true, false };

// Right edge of the widest text a read-out can show: a decimal read-out always carries one
// narrow point, so it ends 8 px short of its cells.
constexpr int readoutTextRight (int column)
{
    return readoutX[(std::size_t) column] + glyphWidth * readoutCells[(std::size_t) column] - (readoutDecimal[(std::size_t) column] ? pointWidth : 0);
}

constexpr int boxWidth = 80, boxHeight = 30, boxY = 372, boxRightMargin = 5;
constexpr Box readoutBox (int column)
{
    return { readoutTextRight (column) + boxRightMargin - boxWidth, boxY, boxWidth, boxHeight };
}

constexpr std::array<const char*, columns> captions { "INPUT", "PEAK", "WIDE", "HP", "KNEE", "THRESHOLD",
                                                      "RATIO", "ATTACK", "RELEASE", "OUTPUT", "WET" };
} // namespace art
