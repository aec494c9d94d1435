#include "DialogScript.h"
#include "EditorTestSupport.h"
#include "ParameterEvents.h"

#include <cstdlib>

// Clicks on the switches, the peak read-out, the logo and the update badge, as the host and the
// user see them. Clicks go through the buttons themselves, so the wiring is part of the test;
// the timer is stopped so that no tick moves a switch between the setting up and the click.
namespace
{
using Ed = BriscaAudioProcessorEditor;
using Proc = BriscaAudioProcessor;

struct ButtonActions : EditorTest
{
    ButtonActions() { editor->stopTimer(); }

    // A click as the button delivers it, from the message loop.
    template <typename Condition>
    static void click (juce::Button& button, Condition clickArrived)
    {
        button.triggerClick();
        EXPECT_TRUE (pumpUntil (clickArrived)) << "the click never arrived";
    }
};

struct Switch
{
    std::unique_ptr<juce::ToggleButton> Ed::*button;
    juce::AudioParameterBool* Proc::*parameter;
};

const Switch switches[] = {
    { &Ed::enableButton, &Proc::dbEnable },   { &Ed::sideChainButton, &Proc::dbSideChain },
    { &Ed::hpEnableButton, &Proc::dbHPEnable }, { &Ed::limitButton, &Proc::dbLimit },
    { &Ed::msInputButton, &Proc::dbMSInput },
};

// The interface language for one test; the variable is put back afterwards.
struct Language
{
    explicit Language (const char* code)
    {
        if (const char* old = std::getenv ("LANGUAGE"))
            previous = old;
        setenv ("LANGUAGE", code, 1);
    }
    ~Language()
    {
        if (previous.isEmpty())
            unsetenv ("LANGUAGE");
        else
            setenv ("LANGUAGE", previous.toRawUTF8(), 1);
    }
    juce::String previous;
};
} // namespace

TEST_F (ButtonActions, SwitchClickWritesTheNewStateInsideAGesture)
{
    for (const auto& s : switches)
        for (const bool startsOn : { false, true })
        {
            auto* parameter = processor.*(s.parameter);
            auto& button = *((*editor).*(s.button));
            SCOPED_TRACE (parameter->getParameterID() + (startsOn ? " on" : " off"));
            set (parameter, startsOn ? 1.0f : 0.0f);
            editor->timerCallback(); // the switch shows the parameter

            ParameterEvents host (processor);
            click (button, [&] { return host.events.size() >= 3; });
            const std::string flipped = startsOn ? "value 0.000" : "value 1.000";
            EXPECT_EQ (host.events, (std::vector<std::string> { "begin", flipped, "end" }));
            EXPECT_EQ (valueOf (parameter), startsOn ? 0.0f : 1.0f);
        }
}

TEST_F (ButtonActions, SwitchAlreadyInTheClickedStateOnlyGetsTheGesture)
{
    for (const auto& s : switches)
    {
        auto* parameter = processor.*(s.parameter);
        SCOPED_TRACE (parameter->getParameterID());
        set (parameter, 1.0f);
        editor->timerCallback();
        set (parameter, 0.0f); // the host switched it off after the last tick

        ParameterEvents host (processor);
        click (*((*editor).*(s.button)), [&] { return host.events.size() >= 2; }); // it flips from on to off
        EXPECT_EQ (host.events, (std::vector<std::string> { "begin", "end" }));
        EXPECT_EQ (valueOf (parameter), 0.0f);
    }
}

TEST_F (ButtonActions, ButtonsThatAreNotTheEditorsSwitchesWriteNothing)
{
    // A stranger named like a switch, and one named like a continuous parameter.
    juce::ToggleButton namedEnable ("Enable"), namedInput ("Input");
    for (auto* stranger : { &namedEnable, &namedInput })
    {
        ParameterEvents host (processor);
        stranger->setToggleState (true, juce::dontSendNotification);
        editor->buttonClicked (stranger);
        EXPECT_TRUE (host.events.empty()) << stranger->getName();
    }
}

TEST_F (ButtonActions, PeakReadoutClickClearsTheHoldUntilTheNextTick)
{
    editor->grPeakHoldDb = 12.5;
    processor.gainReductionDb = 4.0;
    click (editor->grResetButton, [&] { return editor->grPeakHoldDb == 0.0; });
    EXPECT_EQ (editor->grPeakHoldDb, 0.0);
    editor->timerCallback();
    EXPECT_EQ (editor->grPeakHoldDb, 4.0); // the present reduction, not 0
}

TEST_F (ButtonActions, LogoAndBadgeOpenTheAboutBoxOrTheUpdateDialog)
{
    if (! haveDisplay())
        GTEST_SKIP() << "alert windows need a display";
    const struct
    {
        const char* language;
        bool newVersion;
        juce::ImageButton Ed::*button;
        const char* title;
    } cases[] = {
        { "en_US", false, &Ed::logoButton, "About Brisca" },
        { "en_US", true, &Ed::logoButton, "New Brisca is released" },
        { "en_US", true, &Ed::notificationButton, "New Brisca is released" },
        { "ja_JP", false, &Ed::logoButton, u8"Briscaについて" },
        { "zh_CN", true, &Ed::logoButton, u8"新Brisca发布" },
    };
    for (const auto& c : cases)
    {
        const juce::String title = juce::CharPointer_UTF8 (c.title);
        SCOPED_TRACE (title);
        Language language (c.language);
        editor->newVersionAvailable = c.newVersion;
        juce::String seen;
        // The update dialog is answered with its second button: the first would open a browser.
        DialogScript script ({ [&] (juce::AlertWindow& w) {
            seen = w.getName();
            return w.getNumButtons() == 2 ? 2 : 1;
        } });
        click ((*editor).*(c.button), [&] { return script.finished(); });
        EXPECT_EQ (script.unexpected, 0);
        EXPECT_EQ (seen, title);
        // "No, check later" keeps the news.
        EXPECT_EQ (editor->newVersionAvailable.load(), c.newVersion);
    }
}
