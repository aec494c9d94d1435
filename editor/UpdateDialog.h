#pragma once

#include "PreferredLanguage.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace brisca
{
struct UpdateDialogText
{
    juce::String title, message, openSite, later;
};

// The texts of the dialog that announces a newer version of the plug-in called `name`.
UpdateDialogText updateDialogText (InterfaceLanguage, const juce::String& name);

// The dialog, ready for runModalLoop: warning icon, openSite (result 1) then later (result 2),
// neither with a shortcut.
std::unique_ptr<juce::AlertWindow> makeUpdateDialog (const UpdateDialogText&);

// The maker's home page, the same for every language.
juce::URL makerWebSite();

// Shows the dialog in the user's language and, if asked to, opens the maker's web site in the
// default browser; returns when it is closed (message thread).
void showUpdateDialog (const juce::String& name);
} // namespace brisca
