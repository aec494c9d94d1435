#include "PluginEditor.h"

// Clicks on the editor's buttons. Clearing the held peak is all the meter needs; the switches,
// the logo, the update badge and the read-out boxes get their actions with the dialogs.
void BriscaAudioProcessorEditor::buttonClicked (juce::Button* button)
{
    if (button == &grResetButton)
        grPeakHoldDb = 0.0;
}
