#include "AboutBox.h"
#include "DialogScript.h"
#include "EditorTestSupport.h"
#include "UpdateDialog.h"

// The about box and the update dialog in each interface language.
namespace
{
using L = brisca::InterfaceLanguage;

juce::String utf8 (const char* text) { return juce::String (juce::CharPointer_UTF8 (text)); }
} // namespace

TEST (DialogTexts, AboutBoxPerLanguage)
{
    const struct
    {
        L language;
        const char* title;
        const char* labels[4];
    } cases[] = {
        { L::english, "About Brisca", { "Sound design : ", "UI Design : ", "Development : ", "Distribute : " } },
        { L::japanese, u8"Briscaについて", { u8"サウンドデザイン : ", u8"UIデザイン : ", u8"開発 : ", u8"販売 : " } },
        { L::chinese, u8"关于Brisca", { u8"声音设计 : ", u8"UI设计 : ", u8"发展 : ", u8"销售 : " } },
    };
    const auto english = brisca::aboutBoxText (L::english, "Brisca");
    for (const auto& c : cases)
    {
        const auto text = brisca::aboutBoxText (c.language, "Brisca");
        SCOPED_TRACE (text.title);
        EXPECT_EQ (text.title, utf8 (c.title));
        const auto lines = juce::StringArray::fromTokens (text.message, "\n", "");
        ASSERT_EQ (lines.size(), 8) << text.message;
        EXPECT_EQ (lines[0], "Version:2.5.3");
        EXPECT_EQ (lines[1], "");
        for (int i = 0; i < 4; ++i)
        {
            EXPECT_TRUE (lines[2 + i].startsWith (utf8 (c.labels[i]))) << lines[2 + i];
            EXPECT_GT (lines[2 + i].length(), utf8 (c.labels[i]).length()) << "a name follows the label";
        }
        EXPECT_EQ (lines[6], "");
        // The closing notice is the same English line in every language, the message's last.
        EXPECT_EQ (lines[7], english.message.fromLastOccurrenceOf ("\n", false, false));
        EXPECT_TRUE (lines[7].containsOnly (" !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[]_"
                                            "abcdefghijklmnopqrstuvwxyz{}"));
        EXPECT_TRUE (lines[7].contains ("HALVANE-AUDIO"));
        EXPECT_FALSE (text.message.endsWith ("\n"));
    }
}

TEST (DialogTexts, UpdateDialogPerLanguage)
{
    const struct
    {
        L language;
        const char *title, *message, *openSite, *later;
    } cases[] = {
        { L::english, "New Brisca is released", "Do you want to get the new version ? ", "Yes, open the webpage",
          "No, check later" },
        { L::japanese, u8"新しいバージョンのBriscaがリリースされています", u8"Webサイトから新しいバージョンを入手しますか？ ",
          u8"はい", u8"いいえ" },
        { L::chinese, u8"新Brisca发布", u8"你想获得新版本吗？", u8"是的", u8"没有" },
    };
    for (const auto& c : cases)
    {
        const auto text = brisca::updateDialogText (c.language, "Brisca");
        EXPECT_EQ (text.title, utf8 (c.title));
        EXPECT_EQ (text.message, utf8 (c.message)); // the trailing spaces included
        EXPECT_EQ (text.openSite, utf8 (c.openSite));
        EXPECT_EQ (text.later, utf8 (c.later));
    }
}

TEST (DialogTexts, DialogsCarryTheirTextsIconsAndButtons)
{
    if (! haveDisplay())
        GTEST_SKIP() << "alert windows need a display";
    const auto noShortcut = [] (juce::Button* b) {
        return b != nullptr && ! b->isRegisteredForShortcut (juce::KeyPress (juce::KeyPress::returnKey))
               && ! b->isRegisteredForShortcut (juce::KeyPress (juce::KeyPress::escapeKey));
    };
    for (auto language : { L::english, L::japanese, L::chinese })
    {
        const auto about = brisca::aboutBoxText (language, "Brisca");
        auto box = brisca::makeAboutBox (about);
        EXPECT_EQ (box->getName(), about.title);
        EXPECT_EQ (DialogScript::message (*box), about.message);
        EXPECT_EQ (box->getAlertType(), juce::MessageBoxIconType::NoIcon);
        EXPECT_EQ (DialogScript::buttonTexts (*box), juce::StringArray ({ "  OK  " }));
        EXPECT_TRUE (noShortcut (DialogScript::button (*box, "  OK  ")));

        const auto update = brisca::updateDialogText (language, "Brisca");
        auto dialog = brisca::makeUpdateDialog (update);
        EXPECT_EQ (dialog->getName(), update.title);
        EXPECT_EQ (DialogScript::message (*dialog), update.message);
        EXPECT_EQ (dialog->getAlertType(), juce::MessageBoxIconType::WarningIcon);
        EXPECT_EQ (DialogScript::buttonTexts (*dialog), juce::StringArray (update.openSite, update.later));
        EXPECT_TRUE (noShortcut (DialogScript::button (*dialog, update.openSite)));
        EXPECT_TRUE (noShortcut (DialogScript::button (*dialog, update.later)));
    }
}
