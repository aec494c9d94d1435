#include "AboutBox.h"
#include "ParameterWrite.h"
#include "PluginEditor.h"
#include "PluginProcessor.h"
#include "UpdateDialog.h"

// Every button of the editor reports here; they are told apart by identity.
void BriscaAudioProcessorEditor::buttonClicked (juce::Button* button)
{
    if (button == &grResetButton)
    {
        // The next tick stores the present reduction again, then redraws.
        grPeakHoldDb = 0.0;
        return;
    }
    if (button == &logoButton || button == &notificationButton)
    {
        // While a newer version is known the logo leads to it, not to the about box.
        if (newVersionAvailable.load (std::memory_order_relaxed))
            brisca::showUpdateDialog (processorRef.getName());
        else
            brisca::showAboutBox (processorRef.getName());
        return;
    }
    const auto valueButtons = valueButtonsByColumn();
    for (int column = 0; column < 11; ++column)
        if (button == valueButtons[(size_t) column])
        {
            showNumText (column);
            return;
        }

    // A switch: its toggle has already flipped. Found by name, like the sliders.
    juce::AudioProcessorParameter* parameter = nullptr;
    for (auto* candidate : processorRef.getParameters())
        if (candidate->getName (100) == button->getName())
        {
            parameter = candidate;
            break;
        }
    if (dynamic_cast<juce::AudioParameterBool*> (parameter) == nullptr)
        return;
    if (button != enableButton.get() && button != sideChainButton.get() && button != hpEnableButton.get()
        && button != limitButton.get() && button != msInputButton.get())
        return;

    const bool on = button->getToggleState();
    // The host gets the gesture even when the parameter already had this state (the host changed
    // it after the last tick): the click still happened.
    parameter->beginChangeGesture();
    if (on != (parameter->getValue() >= 0.5f))
        setAndNotify (*parameter, on ? 1.0f : 0.0f);
    parameter->endChangeGesture();
}
