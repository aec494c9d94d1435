#pragma once

#include <juce_core/juce_core.h>

// One ID=VALUE setting read from the command line, turned into the normalised value the
// parameter is written with. Plain values go through the same inverse formulas as the
// editor's numeric entry; the grid snap happens when the value is written.
struct Assignment
{
    juce::String id;
    bool isSwitch = false;
    bool on = false;            // switches
    float normalised = 0.0f;    // continuous parameters, before the grid snap
};

struct ParsedAssignment
{
    Assignment assignment;
    juce::String error; // empty when usable; otherwise names the parameter and the problem
};

ParsedAssignment parseAssignment (const juce::String& text);

// A number in the form a user would write it: "-18", "+6", "0.5", ".25". No exponents, no
// words such as inf or nan. Returns the length of the number, 0 if there is none.
int readPlainNumber (const juce::String& text, double& value);

// "-50", "0.5", "1950": up to six significant digits, no trailing zeros.
juce::String formatNumber (double value);
