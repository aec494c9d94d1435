#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

// Finds the plug-in in a built bundle (a .vst3 bundle or an .lv2 bundle folder) and creates
// instances of it through JUCE's plug-in format manager, the way a host does.
class PluginLoader
{
public:
    PluginLoader();
    ~PluginLoader();

    // Returns an empty string when the bundle holds a plug-in that can be instantiated, else why
    // it cannot be used.
    juce::String open (const juce::File& bundle);

    bool isVst3() const { return vst3; }
    juce::String formatName() const { return vst3 ? "VST3" : "LV2"; }
    const juce::PluginDescription& description() const { return found; }
    const juce::File& bundle() const { return bundleFolder; }

    // A new instance; nullptr (with a reason in error) when the format fails to create one.
    // Must be called on the message thread.
    std::unique_ptr<juce::AudioPluginInstance> create (juce::String& error, double sampleRate = 48000.0, int blockSize = 512);

private:
    juce::String openVst3();
    juce::String openLv2();

    juce::AudioPluginFormatManager formats;
    juce::File bundleFolder;
    juce::PluginDescription found;
    bool vst3 = false;
};
