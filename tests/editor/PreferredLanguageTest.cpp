#include "InterfaceTypeface.h"
#include "PreferredLanguage.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <gtest/gtest.h>

#include <cstdlib>

// The interface language comes from the first preferred language; for Chinese and Japanese the
// dialogs' default face must be one that has those scripts.
namespace
{
struct Environment
{
    const char* language;
    const char* lcAll;
    const char* lcMessages;
    const char* lang;
};

void apply (const Environment& e)
{
    const auto put = [] (const char* name, const char* value) {
        if (value == nullptr)
            unsetenv (name);
        else
            setenv (name, value, 1);
    };
    put ("LANGUAGE", e.language);
    put ("LC_ALL", e.lcAll);
    put ("LC_MESSAGES", e.lcMessages);
    put ("LANG", e.lang);
}

// Whether the default sans-serif face draws this character as a glyph of its own rather than
// the face's placeholder box (what it draws for a code point no font has).
bool defaultFaceHasGlyph (juce::juce_wchar c)
{
    const auto outline = [] (juce::juce_wchar ch) {
        juce::GlyphArrangement glyphs;
        glyphs.addLineOfText (juce::Font (20.0f), juce::String::charToString (ch), 0.0f, 0.0f);
        juce::Path p;
        glyphs.createPath (p);
        return p.toString();
    };
    const auto shape = outline (c);
    return shape.isNotEmpty() && shape != outline (0x10fffd);
}
} // namespace

#if JUCE_LINUX || JUCE_BSD
TEST (PreferredLanguage, FirstEntryOfTheSystemsLanguageSettings)
{
    const struct { Environment env; const char* code; brisca::InterfaceLanguage language; } cases[] = {
        { { "ja:en_US", "de_DE.UTF-8", nullptr, "en_US.UTF-8" }, "ja", brisca::InterfaceLanguage::japanese },
        { { "", "zh_TW.UTF-8", "en_US", "en_US" }, "zh_TW.UTF-8", brisca::InterfaceLanguage::chinese },
        { { nullptr, nullptr, "zh_CN.UTF-8", "en_US" }, "zh_CN.UTF-8", brisca::InterfaceLanguage::chinese },
        { { nullptr, "", "", "ja_JP.UTF-8" }, "ja_JP.UTF-8", brisca::InterfaceLanguage::japanese },
        { { "en_GB:ja", nullptr, nullptr, "ja_JP.UTF-8" }, "en_GB", brisca::InterfaceLanguage::english },
        { { nullptr, nullptr, nullptr, "C.UTF-8" }, "C.UTF-8", brisca::InterfaceLanguage::english },
        { { nullptr, nullptr, nullptr, nullptr }, "", brisca::InterfaceLanguage::english },
    };
    for (const auto& c : cases)
    {
        apply (c.env);
        EXPECT_EQ (brisca::preferredLanguageCode(), c.code);
        EXPECT_EQ (brisca::interfaceLanguageFor (brisca::preferredLanguageCode()), c.language) << c.code;
    }
}
#endif

TEST (PreferredLanguage, OnlyTheFirstTwoCharactersCount)
{
    using L = brisca::InterfaceLanguage;
    EXPECT_EQ (brisca::interfaceLanguageFor ("zh-Hant"), L::chinese);
    EXPECT_EQ (brisca::interfaceLanguageFor ("ja-JP"), L::japanese);
    EXPECT_EQ (brisca::interfaceLanguageFor ("en-US"), L::english);
    EXPECT_EQ (brisca::interfaceLanguageFor ("jp"), L::english);
    EXPECT_EQ (brisca::interfaceLanguageFor (""), L::english);
}

// The framework's default look-and-feel is process-wide; each case puts it back afterwards.
struct LanguageTypeface : ::testing::Test
{
    juce::LookAndFeel& lookAndFeel = juce::LookAndFeel::getDefaultLookAndFeel();
    juce::String defaultFace() { return lookAndFeel.getTypefaceForFont (juce::Font (15.0f))->getName(); }
    const juce::String faceBefore = defaultFace();

    void restore()
    {
        lookAndFeel.setDefaultSansSerifTypefaceName ({});
        lookAndFeel.setDefaultSansSerifTypeface (nullptr);
    }
    ~LanguageTypeface() override { restore(); }
};

TEST_F (LanguageTypeface, EnglishKeepsTheDefaultFace)
{
    brisca::applyLanguageTypeface ("en-US");
    EXPECT_EQ (defaultFace(), faceBefore);
}

TEST_F (LanguageTypeface, JapaneseAndChineseGetAFaceWithTheirScript)
{
    const struct { const char* code; juce::juce_wchar sample; } cases[] = {
        { "ja-JP", 0x3042 /* あ */ }, { "zh-Hant", 0x4e2d /* 中 */ }, { "zh_CN.UTF-8", 0x5173 /* 关 */ },
    };
    for (auto c : cases)
    {
        SCOPED_TRACE (c.code);
        brisca::applyLanguageTypeface (c.code);
        EXPECT_NE (defaultFace(), faceBefore);
        EXPECT_TRUE (defaultFaceHasGlyph (c.sample));
        EXPECT_TRUE (defaultFaceHasGlyph ('A')); // the dialogs' Latin text stays readable
        restore();
    }
}
