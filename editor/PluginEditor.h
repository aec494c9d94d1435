#pragma once

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include "UpdateCheck.h"

#include <array>
#include <atomic>
#include <memory>

class BriscaAudioProcessor;
class CustomLookAndFeel;
class CustomLookAndFeel_NoticationBtn;

// The 1045 x 410 panel. The controls the user touches are invisible framework components kept
// for hit-testing, dragging and host gestures; everything visible is composed by drawBG() into
// panelImage, and paint() only copies that image. A 50 ms timer polls the parameters and the
// processor's gain reduction: the editor never listens to the processor.
class BriscaAudioProcessorEditor : public juce::AudioProcessorEditor,
                                   public juce::Slider::Listener,
                                   public juce::Timer,
                                   public juce::Button::Listener,
                                   public juce::TextEditor::Listener,
                                   public juce::AsyncUpdater
{
public:
    explicit BriscaAudioProcessorEditor (BriscaAudioProcessor&);
    ~BriscaAudioProcessorEditor() override;

    void mouseDown (const juce::MouseEvent&) override;
    void paint (juce::Graphics&) override;
    void resized() override;
    void timerCallback() override;
    void handleAsyncUpdate() override;
    void sliderDragStarted (juce::Slider*) override;
    void sliderDragEnded (juce::Slider*) override;
    void sliderValueChanged (juce::Slider*) override;
    void buttonClicked (juce::Button*) override;

    // Renders the whole panel into panelImage.
    void drawBG();
    // One slider thumb with its slot shades; only x and the slider's value and height matter.
    void drawLinearSlider (juce::Graphics&, int x, int y, int width, int height, juce::Slider&);
    // A read-out in segment digits, right-aligned in `cells` 16-pixel cells starting at x.
    void setNumberDisplay (juce::Graphics&, int x, int y, bool asInteger, int cells, double value);
    juce::AudioParameterFloat* getParameterForSlider (juce::Slider*);
    // Numeric entry for read-out column 0..10: the dialog, repeated while the text is refused.
    void showNumText (int column);

    // The entry dialog of a column as showNumText runs it, preloaded with the read-out's value.
    std::unique_ptr<juce::AlertWindow> makeNumEntryDialog (int column);
    enum class EntryOutcome { unchanged, written, refused };
    // What closing the entry dialog of `column` with `dialogResult` (1 is OK) and `text` does.
    EntryOutcome enterNumText (int column, int dialogResult, const juce::String& text);

    // The panel's state, in this order. The refresh timer, the drawing and the button actions
    // all work on these directly (and so do the tests).
    juce::Image panelImage;
    BriscaAudioProcessor& processorRef;

    std::unique_ptr<juce::Slider> inputSlider, rmsSlider, wideSlider, hpSlider, kneeSlider, ratioSlider,
        thresholdSlider, attackSlider, releaseSlider, outputSlider, wetSlider;

    int grLedCount = 0;
    double grPeakHoldDb = 0.0;
    double inputDisplay = 0.0, rmsDisplay = 0.0, wideDisplay = 0.0, hpDisplay = 0.0, kneeDisplay = 0.0,
           ratioDisplay = 0.0, thresholdDisplay = 0.0, attackDisplay = 0.0, releaseDisplay = 0.0,
           outputDisplay = 0.0, wetDisplay = 0.0;

    std::unique_ptr<juce::ToggleButton> enableButton, sideChainButton, hpEnableButton, limitButton, msInputButton;

    juce::ImageButton logoButton, grResetButton, notificationButton;
    // Shared with the update-check worker, which may still be waiting for the server when the
    // editor is gone; the flag lives in the shared state.
    const std::shared_ptr<brisca::UpdateStatus> updateStatus = std::make_shared<brisca::UpdateStatus>();
    std::atomic<bool>& newVersionAvailable = updateStatus->newVersionAvailable;
    juce::ImageButton inputValueButton, rmsValueButton, wideValueButton, hpValueButton, kneeValueButton,
        ratioValueButton, thresholdValueButton, attackValueButton, releaseValueButton, outputValueButton,
        wetValueButton;
    int numEntryIndex = -1;

    std::unique_ptr<CustomLookAndFeel> sliderLookAndFeel;
    std::array<std::unique_ptr<CustomLookAndFeel>, 5> toggleLookAndFeels; // enable, side chain, HP, limit, M/S
    std::unique_ptr<CustomLookAndFeel_NoticationBtn> notificationLookAndFeel;

    // The eleven sliders and read-out buttons by column, INPUT (0) to WET (10).
    std::array<juce::Slider*, 11> slidersByColumn() const;
    std::array<juce::ImageButton*, 11> valueButtonsByColumn();

private:
    void buildToggle (juce::AudioParameterBool&, std::unique_ptr<juce::ToggleButton>& button, int lookAndFeelIndex);
    void buildSlider (juce::AudioParameterFloat&, std::unique_ptr<juce::Slider>& slider, juce::ImageButton& valueButton);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BriscaAudioProcessorEditor)
};
