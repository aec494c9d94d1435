#include "PluginEditor.h"

// Typing a value into a read-out box comes with the dialogs; until then the boxes only remember
// which one was asked for.
void BriscaAudioProcessorEditor::showNumText (int column)
{
    numEntryIndex = column;
}
