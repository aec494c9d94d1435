#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Sliders paint nothing visible: their thumbs are part of the panel picture. The class is also
// the base of the switch and badge looks.
class CustomLookAndFeel : public juce::LookAndFeel_V3
{
public:
    ~CustomLookAndFeel() override;

    void drawLinearSlider (juce::Graphics&, int x, int y, int width, int height, float sliderPos, float minSliderPos,
                           float maxSliderPos, juce::Slider::SliderStyle, juce::Slider&) override;
    void drawLinearSliderThumb (juce::Graphics&, int x, int y, int width, int height, float sliderPos,
                                float minSliderPos, float maxSliderPos, juce::Slider::SliderStyle, juce::Slider&) override;
};

// The colour scheme of the sliders' look-and-feel. None of it reaches the screen.
void setupSquareLookAndFeelColours (juce::LookAndFeel&);
