#include "NotificationLookAndFeel.h"

CustomLookAndFeel_NoticationBtn::~CustomLookAndFeel_NoticationBtn() = default;

void CustomLookAndFeel_NoticationBtn::drawImageButton (juce::Graphics& g, juce::Image*, int, int, int, int,
                                                       const juce::Colour&, float, juce::ImageButton&)
{
    g.setImageResamplingQuality (juce::Graphics::lowResamplingQuality);

    juce::Path disc;
    disc.startNewSubPath (12.0f, 0.0f);
    disc.cubicTo (18.6f, 0.0f, 24.0f, 5.4f, 24.0f, 12.0f);
    disc.cubicTo (24.0f, 18.6f, 18.6f, 24.0f, 12.0f, 24.0f);
    disc.cubicTo (5.4f, 24.0f, 0.0f, 18.6f, 0.0f, 12.0f);
    disc.cubicTo (0.0f, 5.4f, 5.4f, 0.0f, 12.0f, 0.0f);
    disc.closeSubPath();
    g.setColour (juce::Colour (0xffff0000));
    g.fillPath (disc);

    g.setColour (juce::Colour (0xffffffff));
    g.fillRect (juce::Rectangle<float> (10.0f, 4.0f, 4.0f, 10.0f));
    g.fillRect (juce::Rectangle<float> (10.0f, 17.0f, 4.0f, 4.0f));
}
