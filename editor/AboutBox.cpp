#include "AboutBox.h"

namespace brisca
{
namespace
{
// Who made Brisca. The notice below stays in English whatever the interface language.
const char* const maker = "HALVANE-AUDIO";
const char* const distributor = BRISCA_MAKER_DOMAIN;
const char* const closingNotice = "Brisca is free software by HALVANE-AUDIO under the GNU GPL v3, "
                                  "distributed by " BRISCA_MAKER_DOMAIN ", built with JUCE.";

struct CreditLabels
{
    const char* soundDesign;
    const char* uiDesign;
    const char* development;
    const char* distribution;
};

CreditLabels labelsFor (InterfaceLanguage language)
{
    switch (language)
    {
        case InterfaceLanguage::japanese:
            return { u8"サウンドデザイン : ", u8"UIデザイン : ", u8"開発 : ", u8"販売 : " };
        case InterfaceLanguage::chinese:
            return { u8"声音设计 : ", u8"UI设计 : ", u8"发展 : ", u8"销售 : " };
        case InterfaceLanguage::english:
            break;
    }
    return { "Sound design : ", "UI Design : ", "Development : ", "Distribute : " };
}

juce::String utf8 (const char* text) { return juce::String (juce::CharPointer_UTF8 (text)); }
} // namespace

AboutBoxText aboutBoxText (InterfaceLanguage language, const juce::String& name)
{
    juce::String title;
    switch (language)
    {
        case InterfaceLanguage::japanese: title = name + utf8 (u8"について"); break;
        case InterfaceLanguage::chinese: title = utf8 (u8"关于") + name; break;
        case InterfaceLanguage::english: title = "About " + name; break;
    }

    const auto labels = labelsFor (language);
    const juce::String message = juce::String ("Version:" BRISCA_VERSION_STRING "\n")
                                 + "\n"
                                 + utf8 (labels.soundDesign) + maker + "\n"
                                 + utf8 (labels.uiDesign) + maker + "\n"
                                 + utf8 (labels.development) + maker + "\n"
                                 + utf8 (labels.distribution) + distributor + "\n"
                                 + "\n"
                                 + closingNotice;
    return { title, message };
}

std::unique_ptr<juce::AlertWindow> makeAboutBox (const AboutBoxText& text)
{
    auto box = std::make_unique<juce::AlertWindow> (text.title, text.message, juce::MessageBoxIconType::NoIcon);
    box->addButton ("  OK  ", 1);
    return box;
}

void showAboutBox (const juce::String& name)
{
    makeAboutBox (aboutBoxText (interfaceLanguageFor (preferredLanguageCode()), name))->runModalLoop();
}
} // namespace brisca
