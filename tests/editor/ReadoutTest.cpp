#include "EditorTestSupport.h"
#include "ReadoutValues.h"

#include <cmath>
#include <cstdio>
#include <limits>

// One refresh tick turns the parameters into read-out values, slider positions, switch states,
// lit LEDs and the held peak. Expected texts are those the panel shows for each value.
namespace
{
std::string shown (double value, bool asInteger)
{
    char text[32];
    if (asInteger)
        std::snprintf (text, sizeof (text), "%d", (int) value);
    else
        std::snprintf (text, sizeof (text), "%.1f", value);
    return text;
}

struct ReadoutCase
{
    juce::AudioParameterFloat* BriscaAudioProcessor::*parameter;
    float value;
    double BriscaAudioProcessorEditor::*display;
    bool asInteger;
    const char* expected;
};

using Ed = BriscaAudioProcessorEditor;
using Proc = BriscaAudioProcessor;

const ReadoutCase readoutCases[] = {
    { &Proc::dbInput, 0.5f, &Ed::inputDisplay, false, "0.0" },
    { &Proc::dbInput, 0.499f, &Ed::inputDisplay, false, "-0.1" },
    { &Proc::dbInput, 0.0f, &Ed::inputDisplay, false, "-20.0" },
    { &Proc::dbInput, 1.0f, &Ed::inputDisplay, false, "20.0" },
    { &Proc::dbOutput, 0.5f, &Ed::outputDisplay, false, "0.0" },
    { &Proc::dbThreshold, 0.0f, &Ed::thresholdDisplay, false, "-40.1" },
    { &Proc::dbThreshold, 0.001f, &Ed::thresholdDisplay, false, "-39.2" },
    { &Proc::dbThreshold, 1.0f, &Ed::thresholdDisplay, false, "0.0" },
    { &Proc::dbThreshold, 0.496f, &Ed::thresholdDisplay, false, "-6.1" },
    { &Proc::dbHP, 1.0f, &Ed::hpDisplay, true, "2000" },
    { &Proc::dbHP, 0.0f, &Ed::hpDisplay, true, "50" },
    { &Proc::dbRMS, 0.999f, &Ed::rmsDisplay, true, "99" },
    { &Proc::dbWide, 0.5f, &Ed::wideDisplay, true, "50" },
    { &Proc::dbWet, 1.0f, &Ed::wetDisplay, true, "100" },
    { &Proc::dbKnee, 1.0f, &Ed::kneeDisplay, false, "48.0" },
    { &Proc::dbRatio, 0.0f, &Ed::ratioDisplay, false, "0.5" },
    { &Proc::dbRatio, 1.0f, &Ed::ratioDisplay, false, "20.0" },
    { &Proc::dbAttack, 1.0f, &Ed::attackDisplay, false, "100.0" },
    { &Proc::dbRelease, 1.0f, &Ed::releaseDisplay, false, "300.0" },
    { &Proc::dbRelease, 0.267f, &Ed::releaseDisplay, false, "80.1" },
};
} // namespace

using Refresh = EditorTest;

TEST_F (Refresh, ReadoutsShowTheParameterInItsUnit)
{
    for (const auto& c : readoutCases)
    {
        set (processor.*(c.parameter), c.value);
        editor->timerCallback();
        const double value = (*editor).*(c.display);
        SCOPED_TRACE (std::string ("expected ") + c.expected);
        EXPECT_EQ (shown (value, c.asInteger), c.expected);
        EXPECT_FALSE (std::signbit (value) && value == 0.0) << "negative zero";
    }
}

TEST_F (Refresh, FirstTickShowsProgramZero)
{
    editor->timerCallback();
    EXPECT_EQ (shown (editor->thresholdDisplay, false), "-6.0");
    EXPECT_EQ (shown (editor->ratioDisplay, false), "9.7");
    EXPECT_EQ (shown (editor->attackDisplay, false), "2.0");
    EXPECT_EQ (shown (editor->releaseDisplay, false), "80.1");
    EXPECT_EQ (shown (editor->kneeDisplay, false), "0.0");
    EXPECT_EQ (shown (editor->inputDisplay, false), "0.0");
    EXPECT_EQ (shown (editor->outputDisplay, false), "0.0");
    EXPECT_EQ (shown (editor->wetDisplay, true), "100");
}

TEST_F (Refresh, ControlsFollowParametersWithoutWritingThemBack)
{
    int notifications = 0;
    struct Counter : juce::AudioProcessorParameter::Listener
    {
        int& n;
        explicit Counter (int& count) : n (count) {}
        void parameterValueChanged (int, float) override { ++n; }
        void parameterGestureChanged (int, bool) override { ++n; }
    } counter (notifications);
    for (auto* p : processor.getParameters())
        p->addListener (&counter);

    set (processor.dbEnable, 0.0f);
    set (processor.dbLimit, 1.0f);
    set (processor.dbThreshold, 0.125f);
    set (processor.dbInput, 0.735f);
    editor->timerCallback();

    EXPECT_FALSE (editor->enableButton->getToggleState());
    EXPECT_TRUE (editor->limitButton->getToggleState());
    EXPECT_FALSE (editor->sideChainButton->getToggleState());
    EXPECT_DOUBLE_EQ (editor->thresholdSlider->getValue(), 0.5); // cube root, on the slider's 0.001 grid
    EXPECT_DOUBLE_EQ (editor->inputSlider->getValue(), 0.735);
    EXPECT_EQ (notifications, 0);
    for (auto* p : processor.getParameters())
        p->removeListener (&counter);
}

TEST_F (Refresh, LedCountRoundsHalvesUpAndClamps)
{
    const struct { double gainReduction; int leds; } cases[] = {
        { 0.0, 0 }, { 1.4, 0 }, { 1.5, 1 }, { 4.4, 1 }, { 4.5, 2 }, { 22.4, 7 }, { 22.5, 8 }, { 150.0, 8 },
        { -3.0, 0 }, { std::numeric_limits<double>::quiet_NaN(), 0 }, { std::numeric_limits<double>::infinity(), 8 },
    };
    for (auto c : cases)
    {
        processor.gainReductionDb = c.gainReduction;
        editor->timerCallback();
        EXPECT_EQ (editor->grLedCount, c.leds) << c.gainReduction;
    }
}

TEST_F (Refresh, PeakHoldGrowsCapsAndClearsOnClick)
{
    const auto tick = [this] (double gainReduction) {
        processor.gainReductionDb = gainReduction;
        editor->timerCallback();
        return editor->grPeakHoldDb;
    };
    EXPECT_EQ (tick (5.0), 5.0);
    EXPECT_EQ (tick (3.0), 5.0);
    EXPECT_EQ (tick (150.0), (double) 99.9f);
    EXPECT_EQ (shown (editor->grPeakHoldDb, false), "99.9");
    EXPECT_EQ (tick (10.0), (double) 99.9f);

    editor->buttonClicked (&editor->grResetButton);
    EXPECT_EQ (editor->grPeakHoldDb, 0.0);
    // The next tick stores the present reduction again.
    EXPECT_EQ (tick (2.0), 2.0);
}
