#include "NumericEntryRules.h"
#include "ParameterWrite.h"
#include "PluginEditor.h"
#include "PluginProcessor.h"

// Typing a value into a read-out box. The rules live in NumericEntryRules; this file runs the
// dialogs and writes the result.
namespace
{
using Editor = BriscaAudioProcessorEditor;

juce::AudioParameterFloat* parameterFor (BriscaAudioProcessor& p, int column)
{
    juce::AudioParameterFloat* const byColumn[11] = { p.dbInput, p.dbRMS, p.dbWide, p.dbHP, p.dbKnee, p.dbThreshold,
                                                      p.dbRatio, p.dbAttack, p.dbRelease, p.dbOutput, p.dbWet };
    return column >= 0 && column < 11 ? byColumn[column] : nullptr;
}

double shownValue (const Editor& e, int column)
{
    const double byColumn[11] = { e.inputDisplay, e.rmsDisplay, e.wideDisplay, e.hpDisplay, e.kneeDisplay, e.thresholdDisplay,
                                  e.ratioDisplay, e.attackDisplay, e.releaseDisplay, e.outputDisplay, e.wetDisplay };
    return column >= 0 && column < 11 ? byColumn[column] : 0.0;
}
} // namespace

std::unique_ptr<juce::AlertWindow> BriscaAudioProcessorEditor::makeNumEntryDialog (int column)
{
    const auto& row = brisca::entry::row (column);
    auto dialog = std::make_unique<juce::AlertWindow> (row.title, row.message, juce::MessageBoxIconType::NoIcon);
    dialog->addTextEditor ("Num", brisca::entry::preloadText (column, shownValue (*this, column)), {}, false);
    dialog->addButton ("Cancel", 0, juce::KeyPress (juce::KeyPress::escapeKey));
    dialog->addButton ("  OK  ", 1, juce::KeyPress (juce::KeyPress::returnKey));
    return dialog;
}

BriscaAudioProcessorEditor::EntryOutcome BriscaAudioProcessorEditor::enterNumText (int column, int dialogResult,
                                                                                   const juce::String& text)
{
    auto* parameter = parameterFor (processorRef, column);
    if (dialogResult != 1 || parameter == nullptr)
        return EntryOutcome::unchanged;
    if (! brisca::entry::isAcceptable (text))
        return EntryOutcome::refused;

    const double x = brisca::entry::typedValue (column, text);
    // The parameter's own conversion snaps to its 0.001 grid. A typed value is one complete
    // change, so no gesture goes around it.
    const float value = parameter->convertTo0to1 ((float) brisca::entry::normalised (column, x));
    setAndNotify (*parameter, value);
    return EntryOutcome::written;
}

void BriscaAudioProcessorEditor::showNumText (int column)
{
    // The host may close the editor while a dialog waits for the user.
    const juce::Component::SafePointer<BriscaAudioProcessorEditor> alive (this);
    for (;;)
    {
        numEntryIndex = column;
        auto dialog = makeNumEntryDialog (column);
        const int result = dialog->runModalLoop();
        const auto text = dialog->getTextEditorContents ("Num");
        dialog.reset();
        if (alive == nullptr || enterNumText (column, result, text) != EntryOutcome::refused)
            return;

        juce::AlertWindow::showMessageBox (juce::MessageBoxIconType::WarningIcon, "Error", "Please enter a numeric value");
        if (alive == nullptr)
            return;
        // A fresh dialog for the same box, preloaded with its value of now; the refused text is gone.
        column = numEntryIndex;
    }
}
