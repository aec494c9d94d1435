#include "UpdateDialog.h"

namespace brisca
{
namespace
{
juce::String utf8 (const char* text) { return juce::String (juce::CharPointer_UTF8 (text)); }
} // namespace

UpdateDialogText updateDialogText (InterfaceLanguage language, const juce::String& name)
{
    switch (language)
    {
        case InterfaceLanguage::japanese:
            return { utf8 (u8"新しいバージョンの") + name + utf8 (u8"がリリースされています"),
                     utf8 (u8"Webサイトから新しいバージョンを入手しますか？ "), utf8 (u8"はい"), utf8 (u8"いいえ") };
        case InterfaceLanguage::chinese:
            return { utf8 (u8"新") + name + utf8 (u8"发布"), utf8 (u8"你想获得新版本吗？"), utf8 (u8"是的"),
                     utf8 (u8"没有") };
        case InterfaceLanguage::english:
            break;
    }
    return { "New " + name + " is released", "Do you want to get the new version ? ", "Yes, open the webpage",
             "No, check later" };
}

std::unique_ptr<juce::AlertWindow> makeUpdateDialog (const UpdateDialogText& text)
{
    auto dialog = std::make_unique<juce::AlertWindow> (text.title, text.message, juce::MessageBoxIconType::WarningIcon);
    dialog->addButton (text.openSite, 1);
    dialog->addButton (text.later, 2);
    return dialog;
}

juce::URL makerWebSite()
{
    return juce::URL ("https://" BRISCA_MAKER_DOMAIN "/");
}

void showUpdateDialog (const juce::String& name)
{
    const int result = makeUpdateDialog (updateDialogText (interfaceLanguageFor (preferredLanguageCode()), name))->runModalLoop();
    // A browser that does not open is not worth a message.
    if (result == 1)
        makerWebSite().launchInDefaultBrowser();
}
} // namespace brisca
