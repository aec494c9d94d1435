#pragma once

#include <juce_audio_formats/juce_audio_formats.h>

#include <memory>

// Opening the files a render reads and writes, with messages a user can act on.
struct OpenedInput
{
    std::unique_ptr<juce::AudioFormatReader> reader;
    juce::String error;
};

// role names the file in messages ("input", "side-chain").
OpenedInput openAudioInput (juce::AudioFormatManager& formats, const juce::File& file, const juce::String& role);

struct OpenedOutput
{
    std::unique_ptr<juce::AudioFormatWriter> writer;
    juce::String description; // "WAV, 24-bit"
    juce::String error;
};

// The output takes its format from the file name's extension and the input's bit depth when
// that format can store it; floatWav asks for 32-bit float WAV. The writer owns the stream.
OpenedOutput openAudioOutput (juce::AudioFormatManager& formats, const juce::File& target, const juce::File& writeTo,
                              double sampleRate, int numChannels, int inputBits, bool floatWav);

juce::String describeInput (const juce::AudioFormatReader& reader);

// True when both names lead to one file on disk (links and different spellings included).
bool isSameFile (const juce::File& a, const juce::File& b);

// "1:02.5" or "8.00 s".
juce::String formatDuration (double seconds);
