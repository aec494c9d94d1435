#pragma once

#include "PluginProcessor.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <functional>

// Running the built brisca-render as a user would, and the same work done in-process for
// comparison.
namespace render_test
{
struct ToolRun
{
    int exitCode = -1;
    juce::String output; // stdout and stderr together
};

// Runs brisca-render with these arguments; workingDirectory set means it runs there.
ToolRun runTool (const juce::StringArray& arguments, const juce::File& workingDirectory = {});

// Deterministic test material: a tone whose level jumps between quiet and loud every 50 ms
// over a little noise, so a compressor has something to do. Channels differ.
juce::AudioBuffer<float> testSignal (int channels, int length, double sampleRate, unsigned seed);

bool writeAudio (const juce::File& file, const juce::AudioBuffer<float>& audio, double sampleRate, int bits);

struct Audio
{
    juce::AudioBuffer<float> samples;
    double sampleRate = 0.0;
    int bits = 0;
    bool floatingPoint = false;
    bool ok = false;
};
Audio readAudio (const juce::File& file);

// The processor run the way the renderer runs it: buses from the channel counts, blocks of
// blockSize through the float processBlock. The side chain is padded with silence.
juce::AudioBuffer<float> processInProcess (const juce::AudioBuffer<float>& main, const juce::AudioBuffer<float>* sideChain,
                                           double sampleRate, int blockSize,
                                           const std::function<void (BriscaAudioProcessor&)>& configure);

// Writes a continuous parameter with its grid index (value index / 1000) or a switch.
void setGrid (BriscaAudioProcessor& processor, const char* id, int index);
void setSwitch (BriscaAudioProcessor& processor, const char* id, bool on);

// A fresh folder for one test, removed afterwards.
class ScratchFolder
{
public:
    ScratchFolder();
    ~ScratchFolder();
    juce::File file (const juce::String& name) const { return folder.getChildFile (name); }
    const juce::File& path() const { return folder; }

private:
    juce::File folder;
};
} // namespace render_test
