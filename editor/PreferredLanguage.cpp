#include "PreferredLanguage.h"

#if JUCE_MAC
 #include <CoreFoundation/CoreFoundation.h>
#endif

#include <cstdlib>

namespace brisca
{
juce::String preferredLanguageCode()
{
   #if JUCE_MAC
    juce::String code;
    if (auto languages = CFLocaleCopyPreferredLanguages())
    {
        if (CFArrayGetCount (languages) > 0)
        {
            auto first = (CFStringRef) CFArrayGetValueAtIndex (languages, 0);
            char buffer[64] = {};
            if (CFStringGetCString (first, buffer, sizeof (buffer), kCFStringEncodingUTF8))
                code = buffer;
        }
        CFRelease (languages);
    }
    return code;
   #elif JUCE_LINUX || JUCE_BSD
    // The order gettext reads them in: LANGUAGE is a priority list, the others name one locale.
    if (const char* list = std::getenv ("LANGUAGE"))
    {
        const auto first = juce::String::fromUTF8 (list).upToFirstOccurrenceOf (":", false, false).trim();
        if (first.isNotEmpty())
            return first;
    }
    for (const char* name : { "LC_ALL", "LC_MESSAGES", "LANG" })
        if (const char* value = std::getenv (name))
            if (*value != 0)
                return juce::String::fromUTF8 (value);
    return {};
   #else
    return juce::SystemStats::getDisplayLanguage();
   #endif
}

InterfaceLanguage interfaceLanguageFor (const juce::String& code)
{
    const auto start = code.substring (0, 2);
    if (start == "ja")
        return InterfaceLanguage::japanese;
    if (start == "zh")
        return InterfaceLanguage::chinese;
    return InterfaceLanguage::english;
}
} // namespace brisca
