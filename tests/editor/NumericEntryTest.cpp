#include "DialogScript.h"
#include "EditorTestSupport.h"
#include "NumericEntryRules.h"
#include "ParameterEvents.h"

// Typed values: the dialog of each read-out box, which text counts as a number, and the value
// that reaches the parameter. Expected parameter values are the rows' formulas worked by hand
// and snapped to the 0.001 grid.
namespace
{
using Proc = BriscaAudioProcessor;
using Outcome = BriscaAudioProcessorEditor::EntryOutcome;

juce::AudioParameterFloat* Proc::*const parameterOfColumn[11] = {
    &Proc::dbInput, &Proc::dbRMS, &Proc::dbWide, &Proc::dbHP, &Proc::dbKnee, &Proc::dbThreshold,
    &Proc::dbRatio, &Proc::dbAttack, &Proc::dbRelease, &Proc::dbOutput, &Proc::dbWet,
};
} // namespace

TEST (NumericEntryRules, PreloadedTextTruncatesIntegerRowsAndDropsTrailingZeros)
{
    const struct { int column; double shown; const char* text; } cases[] = {
        { 0, -12.3, "-12.3" }, { 0, 20.0, "20" }, { 0, 0.0, "0" },   { 9, -0.1, "-0.1" },
        { 5, -40.1, "-40.1" }, { 6, 9.7, "9.7" }, { 8, 80.1, "80.1" }, { 8, 300.0, "300" },
        { 1, 99.9, "99" },     { 2, 0.5, "0" },   { 3, 2000.0, "2000" }, { 3, 1024.99, "1024" },
        { 10, 100.0, "100" },
    };
    for (const auto& c : cases)
        EXPECT_EQ (brisca::entry::preloadText (c.column, c.shown), c.text) << "column " << c.column << ", " << c.shown;
}

TEST (NumericEntryRules, TextWithACasedLetterIsRefused)
{
    const struct { const char* text; bool accepted; } cases[] = {
        { "-12.5", true }, { " 6", true }, { "2,5", true }, { "", true }, { "+", true }, { "１２", true },
        { "1e3", false },  { "1E3", false }, { "inf", false }, { "0x10", false }, { "12dB", false },
        { u8"é", false },  { u8"Ω", false }, { u8"ж", false }, { u8"５ｍｓ", false },
    };
    for (const auto& c : cases)
        EXPECT_EQ (brisca::entry::isAcceptable (juce::String (juce::CharPointer_UTF8 (c.text))), c.accepted) << c.text;
}

using NumericEntry = EditorTest;

TEST_F (NumericEntry, TypedValuesAreBoundedSnappedAndSentWithoutAGesture)
{
    const struct { int column; const char* text; float expected; } cases[] = {
        { 0, "-50", 0.0f },  { 0, "25", 1.0f },    { 0, "6", 0.65f },      { 0, "", 0.5f },
        { 1, "37", 0.37f },  { 1, "99.9", 0.999f },
        { 2, "2,5", 0.02f },
        { 3, "10", 0.0f },   { 3, "2000", 1.0f },  { 3, "1025", 0.5f },    { 3, "", 0.0f },
        { 4, "12", 0.25f },  { 4, "-3", 0.0f },
        { 5, "6", 0.496f },  { 5, "-6", 0.496f },  { 5, "-40", 0.0f },     { 5, "0", 1.0f },
        { 5, "", 1.0f },     { 5, "-20", 0.091f },
        { 6, "2,5", 0.077f }, { 6, "4", 0.179f },  { 6, "", 0.0f },
        { 7, "50", 0.5f },   { 7, " 25", 0.25f },
        { 8, "75", 0.25f },  { 8, "+", 0.0f },
        { 9, "-10", 0.25f }, { 9, ",5", 0.5f },
        { 10, "150", 1.0f }, { 10, "", 0.0f },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (brisca::entry::row (c.column).title) + " \"" + c.text + "\"");
        auto* parameter = processor.*parameterOfColumn[c.column];
        set (parameter, 0.123f);
        ParameterEvents host (processor);
        EXPECT_EQ (editor->enterNumText (c.column, 1, c.text), Outcome::written);
        EXPECT_NEAR (valueOf (parameter), c.expected, 1.0e-6f);
        // Exactly the value, on the grid, and no gesture around it.
        EXPECT_EQ (host.events, std::vector<std::string> { "value " + juce::String (c.expected, 3).toStdString() });
    }
}

TEST_F (NumericEntry, CancelOrRefusedTextChangesNothing)
{
    const struct { int column; int result; const char* text; Outcome outcome; } cases[] = {
        { 0, 0, "5", Outcome::unchanged },   // Cancel or Escape, even with new text typed
        { 3, 0, "", Outcome::unchanged },
        { 5, -1, "-12", Outcome::unchanged }, // closed some other way
        { 6, 1, "1e3", Outcome::refused },
        { 10, 1, "50%x", Outcome::refused },
    };
    for (const auto& c : cases)
    {
        ParameterEvents host (processor);
        const float before = valueOf (processor.*parameterOfColumn[c.column]);
        EXPECT_EQ (editor->enterNumText (c.column, c.result, c.text), c.outcome) << c.text;
        EXPECT_EQ (valueOf (processor.*parameterOfColumn[c.column]), before);
        EXPECT_TRUE (host.events.empty());
    }
}

// The dialogs themselves, run through their modal loops.
struct NumericEntryDialog : EditorTest
{
    void SetUp() override
    {
        if (! haveDisplay())
            GTEST_SKIP() << "alert windows need a display";
        // The read-outs follow the parameters (program 0) from the first tick on.
        editor->timerCallback();
    }
};

TEST_F (NumericEntryDialog, EachReadoutOpensItsDialogAndCancelKeepsTheValue)
{
    const auto buttons = editor->valueButtonsByColumn();
    for (int column = 0; column < 11; ++column)
    {
        const auto& row = brisca::entry::row (column);
        SCOPED_TRACE (row.title);
        const auto before = valueOf (processor.*parameterOfColumn[column]);
        juce::String preloaded;
        DialogScript script ({ [&] (juce::AlertWindow& w) {
            EXPECT_EQ (w.getName(), row.title);
            EXPECT_EQ (DialogScript::message (w), row.message);
            EXPECT_EQ (w.getAlertType(), juce::MessageBoxIconType::NoIcon);
            EXPECT_EQ (DialogScript::buttonTexts (w), juce::StringArray ({ "Cancel", "  OK  " }));
            auto* cancel = DialogScript::button (w, "Cancel");
            auto* ok = DialogScript::button (w, "  OK  ");
            EXPECT_TRUE (cancel != nullptr && cancel->isRegisteredForShortcut (juce::KeyPress (juce::KeyPress::escapeKey)));
            EXPECT_TRUE (ok != nullptr && ok->isRegisteredForShortcut (juce::KeyPress (juce::KeyPress::returnKey)));
            if (auto* field = w.getTextEditor ("Num"))
            {
                preloaded = field->getText();
                field->setText ("7");
            }
            return 0;
        } });
        buttons[(size_t) column]->triggerClick();
        EXPECT_TRUE (pumpUntil ([&] { return script.finished(); }));
        EXPECT_EQ (editor->numEntryIndex, column);
        const double shown[11] = { editor->inputDisplay, editor->rmsDisplay, editor->wideDisplay, editor->hpDisplay,
                                   editor->kneeDisplay, editor->thresholdDisplay, editor->ratioDisplay,
                                   editor->attackDisplay, editor->releaseDisplay, editor->outputDisplay,
                                   editor->wetDisplay };
        EXPECT_EQ (preloaded, brisca::entry::preloadText (column, shown[column]));
        EXPECT_EQ (valueOf (processor.*parameterOfColumn[column]), before);
    }
}

TEST_F (NumericEntryDialog, RefusedTextShowsTheErrorAndAFreshDialog)
{
    // Program 0 shows THRESHOLD -6.0.
    juce::StringArray seen;
    DialogScript script ({
        [&] (juce::AlertWindow& w) {
            seen.add (w.getTextEditorContents ("Num"));
            w.getTextEditor ("Num")->setText ("1e3");
            return 1;
        },
        [&] (juce::AlertWindow& w) {
            EXPECT_EQ (w.getName(), "Error");
            EXPECT_EQ (DialogScript::message (w), "Please enter a numeric value");
            EXPECT_EQ (w.getAlertType(), juce::MessageBoxIconType::WarningIcon);
            return 0;
        },
        [&] (juce::AlertWindow& w) {
            EXPECT_EQ (w.getName(), "THRESHOLD");
            seen.add (w.getTextEditorContents ("Num"));
            w.getTextEditor ("Num")->setText ("12");
            return 1;
        },
    });
    ParameterEvents host (processor);
    editor->showNumText (5);
    EXPECT_TRUE (script.finished());
    EXPECT_EQ (script.unexpected, 0);
    EXPECT_EQ (seen, juce::StringArray ({ "-6", "-6" }));
    EXPECT_EQ (editor->numEntryIndex, 5);
    // 12 counts as -12 dB: (10^(-12/20) - 0.01) / 0.99 = 0.2436 on the grid.
    EXPECT_NEAR (valueOf (processor.dbThreshold), 0.244f, 1.0e-6f);
    EXPECT_EQ (host.events, std::vector<std::string> { "value 0.244" });
}
