#pragma once

#include <juce_core/juce_core.h>

// What the command line asks for, before anything is opened or checked against the disk.
struct Options
{
    juce::String inputPath;      // empty: render the built-in demo
    juce::String outputPath;     // empty: derived from the input, or demo-out.wav
    juce::String sideChainPath;
    juce::String programText;    // name or index, as typed
    juce::String stateInPath;
    juce::String stateOutPath;
    juce::String plotPath;
    juce::StringArray assignments; // ID=VALUE, in command-line order
    int blockSize = 512;
    bool floatOutput = false;
    bool list = false;
    bool quiet = false;
    bool help = false;
};

struct ParsedOptions
{
    Options options;
    juce::String error; // empty when the command line is usable
};

ParsedOptions parseOptions (const juce::StringArray& arguments);

juce::String usageText();
