#pragma once

#include "PluginProcessor.h"

// Applying the command line's settings to the processor, the way a host or the editor would:
// programs through setCurrentProgram, states through setStateInformation, single values through
// the parameter's grid snap and the set-and-notify path. Each returns an error text, empty on
// success.
juce::String applyProgram (BriscaAudioProcessor& processor, const juce::String& nameOrIndex);
juce::String applyStateFile (BriscaAudioProcessor& processor, const juce::File& file);
juce::String applyAssignment (BriscaAudioProcessor& processor, const juce::String& assignment);

// The parameters with their current plain values and ranges, and the programs (--list).
juce::String describeParameters (BriscaAudioProcessor& processor);

// One line with the settings that shape the sound, for the summary and the plot.
juce::String settingsLine (BriscaAudioProcessor& processor);
