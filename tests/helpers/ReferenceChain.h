#pragma once

#include "PluginProcessor.h"

// Processes one block exactly as the plug-in's double-precision processBlock must, written
// step by step without any optimisation, on the processor's own engine and parameters.
void referenceProcessBlock (BriscaAudioProcessor& processor, juce::AudioBuffer<double>& buffer);
