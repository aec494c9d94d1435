#pragma once

#include <juce_graphics/juce_graphics.h>

// The fourteen pictures of the editor. Switch pictures and the thumb are drawn over the panel,
// so the switch pictures take their surroundings from it.
namespace art
{
enum class SwitchKind { power, sideChain, hp, msInput, limit };

juce::Image renderPanel();                                     // temp1
juce::Image renderPoint();                                     // temp2
juce::Image renderSwitch (const juce::Image& panel, SwitchKind); // temp3, 5, 6, 9, 11
juce::Image renderHitArea();                                   // temp4
juce::Image renderLogo();                                      // temp7
juce::Image renderLedStrip();                                  // temp8
juce::Image renderDigits();                                    // temp10
juce::Image renderThumb();                                     // temp12
juce::Image renderShade (bool upper);                          // temp14 (upper), temp13 (lower)

// Shared by the panel's dark LEDs and the lit strip, so both line up.
juce::Path ledLens (int index);

// The segment shapes of one digit cell (0-9, 10 = minus) and of the point.
juce::Path digitShape (int glyph);
juce::Path pointShape();
} // namespace art
