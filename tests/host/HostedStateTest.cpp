#include "PluginProcessor.h"

#include "HostedBundles.h"

#include <gtest/gtest.h>

// Saved state through the built bundles, the way hosts store it in their projects: a block made
// by the processor in-process goes into the hosted plug-in and comes back out unchanged.
namespace
{

juce::MemoryBlock stateOf (juce::AudioProcessor& p)
{
    juce::MemoryBlock block;
    p.getStateInformation (block);
    return block;
}

void setState (juce::AudioProcessor& p, const juce::MemoryBlock& block)
{
    p.setStateInformation (block.getData(), (int) block.getSize());
}

// Every parameter away from its default and from program 0.
juce::MemoryBlock unusualState()
{
    BriscaAudioProcessor source;
    int k = 0;
    for (auto* param : source.getParameters())
    {
        const bool toggle = dynamic_cast<juce::AudioParameterBool*> (param) != nullptr;
        const bool on = param->getValue() >= 0.5f;
        param->setValue (toggle ? (on ? 0.0f : 1.0f) : 0.137f + 0.051f * (float) k++);
    }
    return stateOf (source);
}

// The hosted values must be those of a processor restored from the same block.
void expectParametersShow (juce::AudioPluginInstance& plugin, const juce::MemoryBlock& block, bool vst3)
{
    BriscaAudioProcessor reference;
    setState (reference, block);
    for (auto* param : reference.getParameters())
    {
        const auto id = dynamic_cast<juce::RangedAudioParameter*> (param)->getParameterID();
        auto* hosted = hostedParameter (plugin, vst3 ? "VST3" : "LV2", id);
        ASSERT_NE (nullptr, hosted) << id;
        EXPECT_EQ (param->getValue(), hosted->getValue()) << id;
    }
}
} // namespace

TEST (HostedState, Vst3ComponentStateCarriesTheBlockUnchanged)
{
    auto plugin = loadHostedBrisca ("VST3");
    ASSERT_NE (nullptr, plugin);

    // JUCE's VST3 host keeps the component's chunk as base64 inside an XML of its own.
    const auto block = unusualState();
    juce::XmlElement hostState ("VST3PluginState");
    hostState.createNewChildElement ("IComponent")->addTextElement (block.toBase64Encoding());
    juce::MemoryBlock hostBlock;
    juce::AudioProcessor::copyXmlToBinary (hostState, hostBlock);
    setState (*plugin, hostBlock);
    expectParametersShow (*plugin, block, true);

    const auto saved = stateOf (*plugin);
    const auto xml = juce::AudioProcessor::getXmlFromBinary (saved.getData(), (int) saved.getSize());
    ASSERT_NE (nullptr, xml);
    auto* component = xml->getChildByName ("IComponent");
    ASSERT_NE (nullptr, component);
    juce::MemoryBlock chunk;
    ASSERT_TRUE (chunk.fromBase64Encoding (component->getAllSubText()));

    // The chunk is the processor's block byte for byte, followed by the wrapper's own trailer
    // (eight zero bytes, its private data, its size and "JUCEPrivateData").
    ASSERT_GT (chunk.getSize(), block.getSize() + 8);
    EXPECT_EQ (block, juce::MemoryBlock (chunk.getData(), block.getSize()));
    const auto* bytes = static_cast<const char*> (chunk.getData());
    for (size_t i = 0; i < 8; ++i)
        EXPECT_EQ (0, bytes[block.getSize() + i]) << i;
    EXPECT_TRUE (juce::String (bytes + chunk.getSize() - 15, 15) == "JUCEPrivateData");

    // Reopening the project and saving again gives the host the very same bytes.
    auto again = loadHostedBrisca ("VST3");
    ASSERT_NE (nullptr, again);
    setState (*again, saved);
    EXPECT_EQ (saved, stateOf (*again));
    expectParametersShow (*again, block, true);
}

namespace
{
// JUCE's LV2 wrapper stores the block, base64 encoded by JUCE, as one string property of the
// LV2 state; JUCE's LV2 host hands that state over as Turtle text.
const juce::String stateProperty = "<" + juce::String (BRISCA_LV2_URI) + ":StateString> \"";

juce::String blockTextIn (const juce::String& turtle)
{
    return turtle.fromFirstOccurrenceOf (stateProperty, false, false).upToFirstOccurrenceOf ("\"", false, false);
}

void processOneBlock (juce::AudioPluginInstance& plugin)
{
    plugin.prepareToPlay (48000.0, 512);
    juce::AudioBuffer<float> buffer (plugin.getTotalNumInputChannels(), 512);
    buffer.clear();
    juce::MidiBuffer midi;
    plugin.processBlock (buffer, midi);
    plugin.releaseResources();
}
} // namespace

TEST (HostedState, Lv2StateStringCarriesTheBlockUnchanged)
{
    auto plugin = loadHostedBrisca ("LV2");
    ASSERT_NE (nullptr, plugin);
    const auto initial = stateOf (*plugin).toString();
    const auto initialText = blockTextIn (initial);
    ASSERT_TRUE (initialText.isNotEmpty()) << initial;

    // The wrapper saves what the processor saves: a fresh instance holds program 0.
    juce::MemoryBlock initialBlock;
    ASSERT_TRUE (initialBlock.fromBase64Encoding (initialText));
    BriscaAudioProcessor fresh;
    EXPECT_EQ (stateOf (fresh), initialBlock);

    // A project holding another block: the plug-in takes it and saves it back unchanged.
    const auto block = unusualState();
    const auto project = initial.replace (initialText, block.toBase64Encoding());
    plugin->setStateInformation (project.toRawUTF8(), (int) project.getNumBytesAsUTF8());
    const auto saved = stateOf (*plugin).toString();
    juce::MemoryBlock savedBlock;
    ASSERT_TRUE (savedBlock.fromBase64Encoding (blockTextIn (saved)));
    EXPECT_EQ (block, savedBlock);
    EXPECT_EQ (project, saved);

    // LV2 parameters reach the host as messages from the plug-in's next run.
    processOneBlock (*plugin);
    expectParametersShow (*plugin, block, false);
}
