#pragma once

#include <juce_graphics/juce_graphics.h>

namespace brisca
{
// Picture tempN (1..14) decoded through the image cache, which keeps it decoded while the
// panel is redrawn; an unknown number or undecodable data gives an invalid image.
juce::Image picture (int number);
} // namespace brisca
