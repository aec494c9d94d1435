#pragma once

#include <juce_graphics/juce_graphics.h>

namespace brisca
{
struct CjkTypeface
{
    juce::String name;            // family to ask for; empty if the system has no CJK face
    juce::Typeface::Ptr loaded;   // set when the framework cannot find the face by name itself
};

// The system's preferred sans-serif face for Simplified Chinese or Japanese, as fontconfig
// chooses it. Looked up once per language per process.
CjkTypeface findCjkTypeface (bool chinese);
} // namespace brisca
