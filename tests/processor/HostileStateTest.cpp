#include "StateBlocks.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <thread>

// State texts that JUCE's XML and number readers do not survive. Projects can be edited or
// damaged by anyone, and each of these used to crash or freeze the host; most were found by the
// state fuzzer (tests/fuzz). They are refused as a whole, or read safely where they still mean a
// number.
// JUCE's UTF-8 reader trusts lead bytes: a malformed sequence at the end of the text made it
// read past the end of its buffer (found by the state fuzzer). Such text is refused as a whole;
// well-formed UTF-8 is read as before.
TEST (HostileState, MalformedUtf8IsRefused)
{
    const std::pair<const char*, Bytes> cases[] = {
        { "lead byte before the zero byte", element ("<MYPLUGINSETTINGS dbInput=\"0.25\"/>\xff") },
        { "lead bytes in the declaration", envelope ("<?xml version=\"1.0\" encoding=\"UTF-8\xff\xff\xff\xff\"?> <MYPLUGINSETTINGS dbInput=\"0.25\"/>") },
        { "invalid byte in a value", element ("<MYPLUGINSETTINGS dbInput=\"0.25\" dbWet=\"\xfe\"/>") },
        { "lone continuation byte", element ("<MYPLUGINSETTINGS dbInput=\"0.25\"/>\x80") },
        { "cut multi-byte sequence", element ("<MYPLUGINSETTINGS dbInput=\"0.25\"/>\xe2\x82") },
    };
    for (const auto& [label, block] : cases)
    {
        SCOPED_TRACE (label);
        BriscaAudioProcessor p;
        const auto before = valueBits (p);
        restore (p, block);
        EXPECT_EQ (before, valueBits (p));
        EXPECT_FALSE (p.stateRestored);
    }

    BriscaAudioProcessor p;
    restore (p, element ("<MYPLUGINSETTINGS dbInput=\"0.25\" note=\"\xc3\xbc \xe2\x82\xac \xf0\x9f\x8e\x9b\"/>"));
    EXPECT_EQ (0.25f, value (p, "dbInput"));
}

// A processing instruction followed by text inside an element sent JUCE's XML reader into an
// endless loop (found by the state fuzzer): the host froze opening the project. The restore runs
// on a thread of its own here, so a return of the fault fails the test instead of hanging it.
TEST (HostileState, InstructionInsideTheElementIsRefusedWithoutHanging)
{
    const Bytes cases[] = {
        element ("<MYPLUGINSETTINGS dbInput=\"0.25\"><?x?>a</MYPLUGINSETTINGS>"),
        element ("<MYPLUGINSETTINGS dbInput=\"0.25\">\xc0\xbc?x?>a</MYPLUGINSETTINGS>"), // overlong '<'
        envelope ("<MYPLUGINSETTINGS dbInput=\"0.25\"/><?x?>"),
    };
    for (const auto& block : cases)
    {
        auto* p = new BriscaAudioProcessor(); // left to a hung thread if the fault is back
        const auto before = valueBits (*p);
        auto done = std::make_shared<std::promise<void>>();
        auto finished = done->get_future();
        std::thread ([p, block, done] { restore (*p, block); done->set_value(); }).detach();
        ASSERT_EQ (std::future_status::ready, finished.wait_for (std::chrono::seconds (10)))
            << std::string (block.begin() + 8, block.end() - 1);
        EXPECT_EQ (before, valueBits (*p));
        EXPECT_FALSE (p->stateRestored);
        delete p;
    }

    BriscaAudioProcessor p; // the declaration itself stays welcome, with space before it
    restore (p, envelope ("\n <?xml version=\"1.0\"?><MYPLUGINSETTINGS dbInput=\"0.25\"/>"));
    EXPECT_EQ (0.25f, value (p, "dbInput"));
}

// JUCE's XML reader recurses per nesting level and per re-read entity, and reads character
// references past the end of the text.
TEST (HostileState, EntitiesDeepNestingAndHugeTextsAreRefused)
{
    const std::string dtd = "<!DOCTYPE x [<!ENTITY e \"x&e;\">]>";
    const std::string padded = "<!DOCTYPE x [ x x x x x x x x x x <!ENTITY e \"<a>&e;\">]>";
    std::string nested, overlong;
    for (int i = 0; i < 200000; ++i)
    {
        nested += "<a>";
        overlong += "\xC0\xBC" "a>"; // '<' in an overlong UTF-8 form, which JUCE decodes as '<'
    }
    const std::pair<std::string, Bytes> cases[] = {
        { "entity naming itself in an attribute", element (dtd + "<MYPLUGINSETTINGS dbInput=\"&e;\"/>") },
        { "entity re-read as elements", element (padded + "<MYPLUGINSETTINGS dbInput=\"0.25\">&e;</MYPLUGINSETTINGS>") },
        { "lower-case DTD", element ("<!doctype x><MYPLUGINSETTINGS dbInput=\"0.25\"/>") },
        { "deep nesting", element ("<MYPLUGINSETTINGS dbInput=\"0.25\">" + nested) },
        { "deep nesting, overlong '<'", element ("<MYPLUGINSETTINGS dbInput=\"0.25\">" + overlong) },
        { "character reference with letters", element ("<MYPLUGINSETTINGS dbInput=\"&#4dbWet=\"8;\"/>") },
        { "character reference at the end", element ("<MYPLUGINSETTINGS dbInput=\"0.25\">&#x") },
        { "plain character reference", element ("<MYPLUGINSETTINGS dbInput=\"&#48;.25\"/>") },
        { "over a mebibyte of text", element ("<MYPLUGINSETTINGS dbInput=\"0.25\" pad=\"" + std::string (1 << 20, 'x') + "\"/>") },
    };
    for (const auto& [label, block] : cases)
    {
        SCOPED_TRACE (label);
        BriscaAudioProcessor p;
        const auto before = valueBits (p);
        NotificationRecorder recorder (p);
        restore (p, block);
        EXPECT_EQ (before, valueBits (p));
        EXPECT_TRUE (recorder.events.empty());
        EXPECT_FALSE (p.stateRestored);
    }

    // Well short of the bounds, children, comments and the named entities are still read.
    std::string children;
    for (int i = 0; i < 50; ++i)
        children += "<a><!-- c --></a>";
    BriscaAudioProcessor p;
    restore (p, element ("<MYPLUGINSETTINGS dbInput=\"0.25\" dbWet=\"&amp;\" x=\"&lt;&gt;&quot;&apos;&foo;\">" + children + "</MYPLUGINSETTINGS>"));
    EXPECT_EQ (0.25f, value (p, "dbInput"));
    EXPECT_EQ (0.0f, value (p, "dbWet")); // "&" is not a number
}
