#pragma once

#include "PluginEditor.h"
#include "PluginProcessor.h"

#include <gtest/gtest.h>

#include <memory>

// One processor (program 0 applied) with an open editor that is not on screen.
struct EditorTest : ::testing::Test
{
    BriscaAudioProcessor processor;
    std::unique_ptr<BriscaAudioProcessorEditor> editor = std::make_unique<BriscaAudioProcessorEditor> (processor);

    static void set (juce::AudioProcessorParameter* parameter, float value) { parameter->setValue (value); }
    static float valueOf (const juce::AudioProcessorParameter* parameter) { return parameter->getValue(); }
};

// Windows, modal boxes and showing components need a display (Xvfb in CI).
inline bool haveDisplay()
{
    return juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() != nullptr;
}

// Runs the message loop until `done` says so or the time is up; tells which came first.
template <typename Condition>
bool pumpUntil (Condition done, int timeoutMs = 5000)
{
    const auto deadline = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;
    while (! done())
    {
        if (juce::Time::getMillisecondCounter() > deadline)
            return false;
        juce::MessageManager::getInstance()->runDispatchLoopUntil (5);
    }
    return true;
}

inline bool samePixels (const juce::Image& a, juce::Rectangle<int> areaA, const juce::Image& b, juce::Point<int> originB)
{
    for (int y = 0; y < areaA.getHeight(); ++y)
        for (int x = 0; x < areaA.getWidth(); ++x)
            if (a.getPixelAt (areaA.getX() + x, areaA.getY() + y).getARGB()
                != b.getPixelAt (originB.x + x, originB.y + y).getARGB())
                return false;
    return true;
}
