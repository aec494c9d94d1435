#include "HostedBundles.h"

#include <gtest/gtest.h>

std::unique_ptr<juce::AudioPluginInstance> loadHostedBrisca (const juce::String& formatName, double sampleRate, int blockSize)
{
    static juce::VST3PluginFormat vst3;
    static juce::LV2PluginFormat lv2;
    const juce::File artefacts (BRISCA_ARTEFACTS);

    juce::AudioPluginFormat* format = &vst3;
    juce::String id = artefacts.getChildFile ("VST3/Brisca.vst3").getFullPathName();
    if (formatName == "LV2")
    {
        // Our bundle folder goes into lilv's world before the lookup by URI.
        lv2.searchPathsForPlugins (juce::FileSearchPath (artefacts.getChildFile ("LV2").getFullPathName()), true, false);
        format = &lv2;
        id = BRISCA_LV2_URI;
    }
    juce::OwnedArray<juce::PluginDescription> found;
    format->findAllTypesForFile (found, id);
    if (found.isEmpty())
        return nullptr;
    juce::String error;
    auto instance = format->createInstanceFromDescription (*found[0], sampleRate, blockSize, error);
    EXPECT_TRUE (error.isEmpty()) << error;
    return instance;
}

juce::String hostedParameterId (const juce::String& formatName, const juce::String& id)
{
    return formatName == "VST3" ? juce::String (static_cast<int> (id.hashCode() & 0x7fffffff))
                                : "des:" + juce::String (BRISCA_LV2_URI) + ":" + id;
}

juce::AudioProcessorParameter* hostedParameter (juce::AudioPluginInstance& plugin, const juce::String& formatName,
                                                const juce::String& id)
{
    const auto wanted = hostedParameterId (formatName, id);
    for (auto* p : plugin.getParameters())
        if (auto* withId = dynamic_cast<juce::HostedAudioProcessorParameter*> (p); withId != nullptr && withId->getParameterID() == wanted)
            return p;
    return nullptr;
}
