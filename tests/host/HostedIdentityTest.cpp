#include <juce_audio_processors/juce_audio_processors.h>

#include <gtest/gtest.h>

// The built bundles, loaded the way a host loads them: through JUCE's VST3 and LV2 hosting.
namespace
{
const juce::File artefacts (BRISCA_ARTEFACTS);

std::unique_ptr<juce::AudioPluginInstance> load (juce::AudioPluginFormat& format, const juce::String& id)
{
    juce::OwnedArray<juce::PluginDescription> found;
    format.findAllTypesForFile (found, id);
    if (found.isEmpty())
        return nullptr;
    juce::String error;
    auto instance = format.createInstanceFromDescription (*found[0], 48000.0, 512, error);
    EXPECT_TRUE (error.isEmpty()) << error;
    return instance;
}

std::unique_ptr<juce::AudioPluginInstance> loadVst3()
{
    static juce::VST3PluginFormat format;
    return load (format, artefacts.getChildFile ("VST3/Brisca.vst3").getFullPathName());
}

std::unique_ptr<juce::AudioPluginInstance> loadLv2()
{
    static juce::LV2PluginFormat format;
    format.searchPathsForPlugins (juce::FileSearchPath (artefacts.getChildFile ("LV2").getFullPathName()), true, false);
    return load (format, BRISCA_LV2_URI);
}
} // namespace

class HostedPlugin : public ::testing::TestWithParam<const char*>
{
protected:
    std::unique_ptr<juce::AudioPluginInstance> instance()
    {
        return juce::String (GetParam()) == "VST3" ? loadVst3() : loadLv2();
    }
};

TEST_P (HostedPlugin, ReportsNameMakerAndSixteenParametersById)
{
    auto plugin = instance();
    ASSERT_NE (nullptr, plugin);
    EXPECT_EQ (juce::String ("Brisca"), plugin->getName());
    EXPECT_EQ (juce::String ("HALVANE-AUDIO"), plugin->getPluginDescription().manufacturerName);
    const bool vst3 = juce::String (GetParam()) == "VST3";
    if (vst3) // JUCE's LV2 host does not read a version
        EXPECT_EQ (juce::String ("2.5.3"), plugin->getPluginDescription().version);

    const char* ids[] = { "dbEnable", "dbSideChain", "dbHPEnable", "dbInput", "dbRMS", "dbWide", "dbHP", "dbKnee",
                          "dbRatio", "dbThreshold", "dbAttack", "dbRelease", "dbOutput", "dbLimit", "dbMSInput", "dbWet" };
    juce::StringArray reported;
    for (auto* p : plugin->getParameters())
        if (auto* withId = dynamic_cast<juce::HostedAudioProcessorParameter*> (p))
            reported.add (withId->getParameterID());
    for (auto* id : ids)
    {
        // VST3 parameters are numbers (JUCE publishes the hash of the ID string); LV2 ones are
        // properties under the plug-in's URI.
        const auto expected = vst3 ? juce::String ((int) (juce::String (id).hashCode() & 0x7fffffff))
                                   : "des:" + juce::String (BRISCA_LV2_URI) + ":" + id;
        EXPECT_TRUE (reported.contains (expected)) << id << " missing from " << reported.joinIntoString (",").toStdString();
    }
}

TEST_P (HostedPlugin, ProcessesABlockWithMainAndSideChainBuses)
{
    auto plugin = instance();
    ASSERT_NE (nullptr, plugin);
    EXPECT_EQ (4, plugin->getTotalNumInputChannels());
    EXPECT_EQ (2, plugin->getTotalNumOutputChannels());
    plugin->prepareToPlay (48000.0, 512);
    juce::AudioBuffer<float> buffer (4, 512);
    for (int ch = 0; ch < 4; ++ch)
        for (int i = 0; i < 512; ++i)
            buffer.setSample (ch, i, ch < 2 ? 0.5f * std::sin (0.05f * (float) i) : 0.0f);
    juce::MidiBuffer midi;
    plugin->processBlock (buffer, midi);
    float peak = 0.0f;
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < 512; ++i)
        {
            ASSERT_TRUE (std::isfinite (buffer.getSample (ch, i)));
            peak = std::max (peak, std::abs (buffer.getSample (ch, i)));
        }
    EXPECT_GT (peak, 0.01f);
    plugin->releaseResources();
}

INSTANTIATE_TEST_SUITE_P (Formats, HostedPlugin, ::testing::Values ("VST3", "LV2"));
