#include "InterfaceTypeface.h"

#include "PreferredLanguage.h"

#include <juce_gui_basics/juce_gui_basics.h>

#if JUCE_LINUX || JUCE_BSD
 #include "LinuxCjkTypeface.h"
#endif

namespace brisca
{
void applyLanguageTypeface (const juce::String& languageCode)
{
    const auto language = interfaceLanguageFor (languageCode);
    if (language == InterfaceLanguage::english)
        return;
    const bool chinese = language == InterfaceLanguage::chinese;
    auto& lookAndFeel = juce::LookAndFeel::getDefaultLookAndFeel();

   #if JUCE_LINUX || JUCE_BSD
    // The macOS faces do not exist here: take whatever CJK face the system has.
    const auto face = findCjkTypeface (chinese);
    if (face.name.isEmpty())
        return;
    lookAndFeel.setDefaultSansSerifTypefaceName (face.name);
    if (face.loaded != nullptr)
        lookAndFeel.setDefaultSansSerifTypeface (face.loaded);
   #elif JUCE_WINDOWS
    lookAndFeel.setDefaultSansSerifTypefaceName (chinese ? "Microsoft YaHei" : "Meiryo");
   #else
    lookAndFeel.setDefaultSansSerifTypefaceName (chinese ? "PingFang SC" : "Arial Unicode MS");
   #endif
}
} // namespace brisca
