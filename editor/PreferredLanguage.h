#pragma once

#include <juce_core/juce_core.h>

namespace brisca
{
// The first entry of the user's preferred-language list, as the system writes it ("ja-JP",
// "zh_CN.UTF-8", "en"); empty when the system names none.
juce::String preferredLanguageCode();

enum class InterfaceLanguage { english, japanese, chinese };

// Only the first two characters count: "ja..." is Japanese, "zh..." Chinese, all else English.
InterfaceLanguage interfaceLanguageFor (const juce::String& code);
} // namespace brisca
