#pragma once

#include <juce_core/juce_core.h>

namespace brisca
{
// For a Chinese or Japanese first language, makes a face with those scripts the default
// sans-serif typeface of the framework's default look-and-feel, so every dialog of this
// process can show its texts; other languages change nothing. Never undone.
void applyLanguageTypeface (const juce::String& languageCode);
} // namespace brisca
