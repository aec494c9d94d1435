#pragma once

#include "AudioThreadProbe.h"

#include <juce_core/juce_core.h>

#include <vector>

// Turns the probe's raw call stacks into readable call paths and says where each comes from:
// the validator's own hosting code, JUCE's wrapper inside the plug-in, or Brisca's code.
struct Finding
{
    probe::Call call;
    int count = 0;         // stacks with this call and path (of the ones kept)
    bool inPlugin = false; // the plug-in's binary is on the stack
    bool ourCode = false;  // Brisca's own functions are on the stack
    juce::String path;     // innermost first: "malloc <- f <- g ..."
    juce::String where;    // the innermost named function in the plug-in's binary
};

std::vector<Finding> explainStacks (const std::vector<probe::Stack>& stacks, const juce::File& bundle);

// "JUCE wrapper", "Brisca" or "host" for a finding.
juce::String originOf (const Finding&);
