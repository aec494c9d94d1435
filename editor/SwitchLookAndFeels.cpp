#include "SwitchLookAndFeels.h"

namespace
{
void drawNoTickBox (juce::Graphics& g)
{
    g.setImageResamplingQuality (juce::Graphics::lowResamplingQuality);
}
} // namespace

CustomLookAndFeel_EnableBtn::~CustomLookAndFeel_EnableBtn() = default;
void CustomLookAndFeel_EnableBtn::drawTickBox (juce::Graphics& g, juce::Component&, float, float, float, float, bool, bool, bool, bool)
{
    drawNoTickBox (g);
}

CustomLookAndFeel_SideChain::~CustomLookAndFeel_SideChain() = default;
void CustomLookAndFeel_SideChain::drawTickBox (juce::Graphics& g, juce::Component&, float, float, float, float, bool, bool, bool, bool)
{
    drawNoTickBox (g);
}

CustomLookAndFeel_HPEnable::~CustomLookAndFeel_HPEnable() = default;
void CustomLookAndFeel_HPEnable::drawTickBox (juce::Graphics& g, juce::Component&, float, float, float, float, bool, bool, bool, bool)
{
    drawNoTickBox (g);
}

CustomLookAndFeel_LimitBtn::~CustomLookAndFeel_LimitBtn() = default;
void CustomLookAndFeel_LimitBtn::drawTickBox (juce::Graphics& g, juce::Component&, float, float, float, float, bool, bool, bool, bool)
{
    drawNoTickBox (g);
}

CustomLookAndFeel_MSInputBtn::~CustomLookAndFeel_MSInputBtn() = default;
void CustomLookAndFeel_MSInputBtn::drawTickBox (juce::Graphics& g, juce::Component&, float, float, float, float, bool, bool, bool, bool)
{
    drawNoTickBox (g);
}
