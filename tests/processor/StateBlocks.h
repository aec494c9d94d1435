#pragma once

#include "NotificationRecorder.h"
#include "PluginProcessor.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

// State blocks for the tests, written independently of the plug-in.
using Bytes = std::vector<char>;

inline const std::string declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?> ";

inline Bytes save (BriscaAudioProcessor& p)
{
    juce::MemoryBlock block;
    p.getStateInformation (block);
    return { static_cast<const char*> (block.getData()), static_cast<const char*> (block.getData()) + block.getSize() };
}

inline void restore (BriscaAudioProcessor& p, const Bytes& block)
{
    p.setStateInformation (block.data(), (int) block.size());
}

inline void putLength (Bytes& b, std::int32_t length)
{
    const auto u = static_cast<std::uint32_t> (length);
    for (int i = 0; i < 4; ++i)
        b[(size_t) (4 + i)] = static_cast<char> ((u >> (8 * i)) & 0xff);
}

// Magic, little-endian length, text, zero byte.
inline Bytes envelope (const std::string& text)
{
    Bytes b (text.size() + 9, 0);
    std::copy_n ("VC2!", 4, b.begin());
    std::copy (text.begin(), text.end(), b.begin() + 8);
    putLength (b, (std::int32_t) text.size());
    return b;
}

inline Bytes element (const std::string& body) { return envelope (declaration + body); }

inline float value (BriscaAudioProcessor& p, const char* id) { return parameter (p, id).getValue(); }
