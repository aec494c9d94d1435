#include "StateEnvelope.h"

#include <juce_audio_processors/juce_audio_processors.h>

namespace
{
const char* const lv2StateProperty = ":StateString> \"";

// JUCE's VST3 wrapper appends its own data (bypass state and a marker) after the plug-in's block;
// the block itself is "VC2!", a 32-bit length, the text and a zero byte.
juce::MemoryBlock withoutWrapperTrailer (const juce::MemoryBlock& component)
{
    if (component.getSize() < 9 || std::memcmp (component.getData(), "VC2!", 4) != 0)
        return component;
    const auto length = static_cast<size_t> (juce::ByteOrder::littleEndianInt (juce::addBytesToPointer (component.getData(), 4)));
    return juce::MemoryBlock (component.getData(), juce::jmin (component.getSize(), length + 9));
}

std::unique_ptr<juce::XmlElement> vst3Document (const juce::MemoryBlock& state)
{
    auto xml = juce::AudioProcessor::getXmlFromBinary (state.getData(), static_cast<int> (state.getSize()));
    return xml != nullptr && xml->hasTagName ("VST3PluginState") ? std::move (xml) : nullptr;
}
} // namespace

StateEnvelope::StateEnvelope (bool isVst3, const juce::MemoryBlock& hostState) : vst3 (isVst3), original (hostState)
{
    if (vst3)
    {
        auto xml = vst3Document (hostState);
        if (auto* child = xml != nullptr ? xml->getChildByName ("IComponent") : nullptr)
            valid = component.fromBase64Encoding (child->getAllSubText());
        return;
    }
    turtle = hostState.toString();
    const int property = turtle.indexOf (lv2StateProperty);
    if (property < 0)
        return;
    literalStart = property + (int) std::strlen (lv2StateProperty);
    literalEnd = turtle.indexOfChar (literalStart, '"');
    valid = literalEnd > literalStart && component.fromBase64Encoding (turtle.substring (literalStart, literalEnd));
}

juce::MemoryBlock StateEnvelope::pluginBlock() const
{
    return vst3 ? withoutWrapperTrailer (component) : component;
}

juce::MemoryBlock StateEnvelope::wrap (const juce::MemoryBlock& pluginBytes) const
{
    juce::MemoryBlock result;
    if (vst3)
    {
        auto xml = vst3Document (original);
        if (auto* child = xml != nullptr ? xml->getChildByName ("IComponent") : nullptr)
        {
            child->deleteAllTextElements();
            child->addTextElement (pluginBytes.toBase64Encoding());
            juce::AudioProcessor::copyXmlToBinary (*xml, result);
        }
        return result;
    }
    const auto text = turtle.substring (0, literalStart) + pluginBytes.toBase64Encoding() + turtle.substring (literalEnd);
    result.append (text.toRawUTF8(), text.getNumBytesAsUTF8());
    return result;
}
