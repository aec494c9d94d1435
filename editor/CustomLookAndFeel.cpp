#include "CustomLookAndFeel.h"

CustomLookAndFeel::~CustomLookAndFeel() = default;

void CustomLookAndFeel::drawLinearSlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                                          float minSliderPos, float maxSliderPos, juce::Slider::SliderStyle style,
                                          juce::Slider& slider)
{
    g.setImageResamplingQuality (juce::Graphics::lowResamplingQuality);
    // The background colour is left at the framework's transparent default.
    g.setColour (slider.findColour (juce::Slider::backgroundColourId));
    g.fillRect (slider.getLocalBounds());
    drawLinearSliderThumb (g, x, y, width, height, sliderPos, minSliderPos, maxSliderPos, style, slider);
}

void CustomLookAndFeel::drawLinearSliderThumb (juce::Graphics& g, int, int, int, int, float, float, float,
                                               juce::Slider::SliderStyle, juce::Slider&)
{
    g.setImageResamplingQuality (juce::Graphics::lowResamplingQuality);
}

void setupSquareLookAndFeelColours (juce::LookAndFeel& lookAndFeel)
{
    lookAndFeel.setColour (juce::Slider::rotarySliderFillColourId, juce::Colour (0xffff0000));
    lookAndFeel.setColour (juce::Slider::thumbColourId, juce::Colour (0xfff2f2f2));
    lookAndFeel.setColour (juce::Slider::textBoxOutlineColourId, juce::Colour (0x00ffffff));
    lookAndFeel.setColour (juce::Slider::trackColourId, juce::Colour (0xff000000));
    lookAndFeel.setColour (juce::TextButton::buttonColourId, juce::Colour (0xffffffff));
    lookAndFeel.setColour (juce::TextButton::textColourOffId, juce::Colour (0xffff0000));
    lookAndFeel.setColour (juce::TextButton::buttonOnColourId, lookAndFeel.findColour (juce::TextButton::textColourOffId));
    lookAndFeel.setColour (juce::TextButton::textColourOnId, lookAndFeel.findColour (juce::TextButton::buttonColourId));
}
