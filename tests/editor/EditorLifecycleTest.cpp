#include "DialogScript.h"
#include "EditorTestSupport.h"

#include <atomic>
#include <thread>

// Editors come and go on one processor while its timer, the asynchronous redraw and an audio
// thread writing the meter value keep running.
namespace
{
void pump (int milliseconds)
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (milliseconds);
}

std::vector<float> parameterValues (const BriscaAudioProcessor& p)
{
    std::vector<float> values;
    for (auto* parameter : p.getParameters())
        values.push_back (static_cast<const juce::AudioProcessorParameter*> (parameter)->getValue());
    return values;
}

struct CountingEditor : BriscaAudioProcessorEditor
{
    using BriscaAudioProcessorEditor::BriscaAudioProcessorEditor;
    int renders = 0;
    void handleAsyncUpdate() override
    {
        ++renders;
        BriscaAudioProcessorEditor::handleAsyncUpdate();
    }
};

// A processor with one more parameter than the editor knows.
struct ProcessorWithExtraParameter : BriscaAudioProcessor
{
    ProcessorWithExtraParameter()
    {
        addParameter (new juce::AudioParameterFloat (juce::ParameterID { "dbExtra", 1 }, "Extra", 0.0f, 1.0f, 0.0f));
    }
};
} // namespace

TEST (EditorLifecycle, OpensAndClosesManyTimesWithTheTimerRunning)
{
    BriscaAudioProcessor processor;
    const auto before = parameterValues (processor);
    std::atomic<bool> running { true };
    std::thread audio ([&] {
        for (int i = 0; running; ++i)
        {
            processor.gainReductionDb.store ((i % 40) * 0.75, std::memory_order_relaxed);
            std::this_thread::sleep_for (std::chrono::milliseconds (1));
        }
    });
    for (int round = 0; round < 30; ++round)
    {
        std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditorIfNeeded());
        ASSERT_NE (editor, nullptr);
        if (haveDisplay() && round % 2 == 0)
        {
            editor->addToDesktop (0);
            editor->setVisible (true);
        }
        pump (round % 3 == 0 ? 0 : 20 + 7 * (round % 5));
    }
    running = false;
    audio.join();
    // The editor only reads: nothing it did in all those ticks reached the parameters.
    EXPECT_EQ (parameterValues (processor), before);
}

TEST (EditorLifecycle, HiddenEditorFollowsParametersButDoesNotRender)
{
    BriscaAudioProcessor processor;
    CountingEditor editor (processor);
    const auto first = editor.panelImage.createCopy();
    processor.gainReductionDb = 12.0;
    static_cast<juce::AudioProcessorParameter*> (processor.dbKnee)->setValue (0.5f);
    pump (160);
    EXPECT_EQ (editor.grLedCount, 4);
    EXPECT_EQ (editor.grPeakHoldDb, 12.0);
    EXPECT_DOUBLE_EQ (editor.kneeSlider->getValue(), 0.5);
    EXPECT_EQ (editor.renders, 0);
    EXPECT_TRUE (samePixels (editor.panelImage, editor.panelImage.getBounds(), first, {}));
}

TEST (EditorLifecycle, ShowingEditorRendersOncePerPendingUpdate)
{
    if (! haveDisplay())
        GTEST_SKIP() << "needs a display";
    BriscaAudioProcessor processor;
    CountingEditor editor (processor);
    editor.addToDesktop (0);
    editor.setVisible (true);
    editor.stopTimer(); // ticks by hand below
    ASSERT_TRUE (editor.isShowing());

    processor.gainReductionDb = 12.0;
    editor.timerCallback();
    editor.timerCallback();
    editor.timerCallback();
    EXPECT_TRUE (editor.isUpdatePending());
    pump (50);
    EXPECT_EQ (editor.renders, 1);
    // Four LEDs are lit in the new rendering.
    EXPECT_NE (editor.panelImage.getPixelAt (489 + 27 * 3 + 13, 49), editor.panelImage.getPixelAt (489 + 27 * 4 + 13, 49));

    editor.newVersionAvailable = true;
    editor.timerCallback();
    EXPECT_TRUE (editor.notificationButton.isVisible());
    pump (50);
    EXPECT_EQ (editor.renders, 2);
    editor.removeFromDesktop();
}

TEST (EditorLifecycle, UnknownParameterGetsOneWarningAndTheOthersTheirControls)
{
    if (! haveDisplay())
        GTEST_SKIP() << "needs a display for the message box";
    ProcessorWithExtraParameter processor;
    juce::StringArray boxes;
    // Closes the box and any further one; it stops with the test, so nothing outlives it.
    DialogScript closeBoxes ({ [&] (juce::AlertWindow& box) {
        boxes.add (box.getName() + "|" + box.getDescription() + "|"
                   + juce::String ((int) (box.getAlertType() == juce::MessageBoxIconType::WarningIcon)));
        return 0;
    } });
    BriscaAudioProcessorEditor editor (processor);

    EXPECT_EQ (closeBoxes.unexpected, 0);
    ASSERT_EQ (boxes.size(), 1);
    EXPECT_EQ (boxes[0], "ParamError|ParamError. paramID : dbExtra|1");
    EXPECT_EQ (editor.slidersByColumn().size(), 11u);
    for (auto* slider : editor.slidersByColumn())
        EXPECT_NE (slider, nullptr);
    for (auto* button : { editor.enableButton.get(), editor.sideChainButton.get(), editor.hpEnableButton.get(),
                          editor.limitButton.get(), editor.msInputButton.get() })
        EXPECT_NE (button, nullptr);
}
