#include "Layout.h"
#include "Pictures.h"
#include "Surface.h"

// temp7: the product name in chrome lettering, leaning forward, with a small printed line
// below it. Transparent around the letters so it sits on the bridge plate.
namespace art
{
juce::Image renderLogo()
{
    const int w = logo.w, h = logo.h;
    juce::Image image (juce::Image::ARGB, w, h, true);

    const float baseline = 31.0f, capHeight = 26.0f;
    auto name = textPath ("BRISCA", logoFont(), capHeight, (float) w * 0.5f, baseline, 2.5f);
    name.applyTransform (juce::AffineTransform::shear (-0.16f, 0.0f).translated (0.16f * baseline, 0.0f));

    dropShadow (image, name, 2.2f, 2, juce::Colours::black.withAlpha (0.9f));

    juce::Graphics g (image);
    g.setColour (juce::Colour (0xff0b0c0e));
    g.strokePath (name, juce::PathStrokeType (2.4f, juce::PathStrokeType::mitered));

    // Chrome: bright sky, a dark horizon just below the middle, then the lit ground.
    const float top = baseline - capHeight;
    juce::ColourGradient chrome (juce::Colour (0xffffffff), 0.0f, top, juce::Colour (0xffe9eef3), 0.0f, baseline, false);
    chrome.addColour (0.42, juce::Colour (0xffaab2bc));
    chrome.addColour (0.50, juce::Colour (0xff454c55));
    chrome.addColour (0.58, juce::Colour (0xff6c7682));
    chrome.addColour (0.85, juce::Colour (0xffc9d1da));
    g.setGradientFill (chrome);
    g.fillPath (name);

    // A lit rim along the top edges of the letters.
    g.saveState();
    g.reduceClipRegion (name);
    auto rim = name;
    rim.applyTransform (juce::AffineTransform::translation (0.0f, 1.2f));
    g.setColour (juce::Colour (0x50000000));
    g.strokePath (rim, juce::PathStrokeType (1.0f));
    g.restoreState();

    const auto subtitle = textPath ("STEREO COMPRESSOR", captionFont(), 5.5f, (float) w * 0.5f, 44.0f, 2.2f);
    g.setColour (juce::Colour (0xff9ba1a9));
    g.fillPath (subtitle);
    const auto sb = subtitle.getBounds();
    g.setColour (juce::Colour (0xffff8a1a));
    g.fillRect (juce::Rectangle<float> (sb.getX() - 16.0f, 40.5f, 10.0f, 1.5f));
    g.fillRect (juce::Rectangle<float> (sb.getRight() + 6.0f, 40.5f, 10.0f, 1.5f));
    return image;
}
} // namespace art
