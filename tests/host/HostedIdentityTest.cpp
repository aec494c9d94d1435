#include "HostedBundles.h"

#include <gtest/gtest.h>


class HostedPlugin : public ::testing::TestWithParam<const char*>
{
protected:
    std::unique_ptr<juce::AudioPluginInstance> instance()
    {
        return loadHostedBrisca (GetParam());
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
        const auto expected = hostedParameterId (GetParam(), id);
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
