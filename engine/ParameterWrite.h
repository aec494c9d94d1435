#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

// The one way the plug-in itself writes a parameter: store, then tell the host and the editor.
inline void setAndNotify (juce::AudioProcessorParameter& parameter, float value)
{
    parameter.setValue (value);
    parameter.sendValueChangedMessageToListeners (value);
}
