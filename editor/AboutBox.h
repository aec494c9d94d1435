#pragma once

#include "PreferredLanguage.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace brisca
{
struct AboutBoxText
{
    juce::String title, message;
};

// Title and message of the about box in the interface language, for a plug-in called `name`.
AboutBoxText aboutBoxText (InterfaceLanguage, const juce::String& name);

// The about box, ready for runModalLoop: no icon, one "  OK  " button without a shortcut.
std::unique_ptr<juce::AlertWindow> makeAboutBox (const AboutBoxText&);

// Shows the about box in the user's language and returns when it is closed (message thread).
void showAboutBox (const juce::String& name);
} // namespace brisca
