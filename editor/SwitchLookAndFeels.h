#pragma once

#include "CustomLookAndFeel.h"

// One look per switch. None draws a tick box, so the toggle buttons (which have no text) show
// nothing and the panel picture shows the switch.

class CustomLookAndFeel_EnableBtn : public CustomLookAndFeel
{
public:
    ~CustomLookAndFeel_EnableBtn() override;
    void drawTickBox (juce::Graphics&, juce::Component&, float x, float y, float w, float h, bool ticked,
                      bool isEnabled, bool isMouseOver, bool isButtonDown) override;
};

class CustomLookAndFeel_SideChain : public CustomLookAndFeel
{
public:
    ~CustomLookAndFeel_SideChain() override;
    void drawTickBox (juce::Graphics&, juce::Component&, float x, float y, float w, float h, bool ticked,
                      bool isEnabled, bool isMouseOver, bool isButtonDown) override;
};

class CustomLookAndFeel_HPEnable : public CustomLookAndFeel
{
public:
    ~CustomLookAndFeel_HPEnable() override;
    void drawTickBox (juce::Graphics&, juce::Component&, float x, float y, float w, float h, bool ticked,
                      bool isEnabled, bool isMouseOver, bool isButtonDown) override;
};

class CustomLookAndFeel_LimitBtn : public CustomLookAndFeel
{
public:
    ~CustomLookAndFeel_LimitBtn() override;
    void drawTickBox (juce::Graphics&, juce::Component&, float x, float y, float w, float h, bool ticked,
                      bool isEnabled, bool isMouseOver, bool isButtonDown) override;
};

class CustomLookAndFeel_MSInputBtn : public CustomLookAndFeel
{
public:
    ~CustomLookAndFeel_MSInputBtn() override;
    void drawTickBox (juce::Graphics&, juce::Component&, float x, float y, float w, float h, bool ticked,
                      bool isEnabled, bool isMouseOver, bool isButtonDown) override;
};
