#include "StateBlocks.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

// The saved state: the "VC2!" block hosts keep in their projects, what restores from it, and
// what is refused as a whole.
namespace
{
bool isSwitch (BriscaAudioProcessor& p, const std::string& id)
{
    return dynamic_cast<juce::AudioParameterBool*> (&parameter (p, id.c_str())) != nullptr;
}
} // namespace

TEST (SavedState, BlockIsMagicLengthTextAndZeroByte)
{
    BriscaAudioProcessor p;
    set (*p.dbRatio, 0.001f); // a long decimal, so the length is not a fixed figure
    const auto block = save (p);
    ASSERT_GT (block.size(), 9u);
    EXPECT_EQ (0, std::memcmp (block.data(), "VC2!", 4));
    const auto* u = reinterpret_cast<const unsigned char*> (block.data());
    const std::uint32_t length = u[4] | (u[5] << 8) | (u[6] << 16) | ((std::uint32_t) u[7] << 24);
    EXPECT_EQ (block.size() - 9, length);
    EXPECT_EQ (0, block.back());
    const std::string text (block.data() + 8, block.size() - 9);
    EXPECT_EQ (text.size(), std::strlen (text.c_str())) << "zero byte inside the text";
    EXPECT_EQ (std::string::npos, text.find ('\n'));
    EXPECT_EQ (0u, text.rfind (declaration, 0));
}

TEST (SavedState, ExampleStateIsWrittenByteForByte)
{
    BriscaAudioProcessor p;
    for (auto* param : p.getParameters())
        param->setValue (0.0f);
    set (*p.dbEnable, 1.0f);
    set (*p.dbInput, 0.5f);
    set (*p.dbOutput, 0.5f);
    set (*p.dbWet, 1.0f);

    const std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?> <MYPLUGINSETTINGS dbEnable=\"1\" dbSideChain=\"0\" "
                             "dbHPEnable=\"0\" dbInput=\"0.5\" dbRMS=\"0.0\" dbWide=\"0.0\" dbHP=\"0.0\" dbKnee=\"0.0\" "
                             "dbRatio=\"0.0\" dbThreshold=\"0.0\" dbAttack=\"0.0\" dbRelease=\"0.0\" dbOutput=\"0.5\" "
                             "dbLimit=\"0\" dbWet=\"1.0\" dbMSInput=\"0\"/>";
    EXPECT_EQ (envelope (text), save (p));
}

TEST (SavedState, GridValuesAreWrittenWithSixteenDigitsAndSwitchesByTheHalfRule)
{
    BriscaAudioProcessor p; // dbRatio holds 0.474, i.e. 0.474000036716461181640625
    set (*p.dbLimit, 0.5f);
    set (*p.dbMSInput, 0.49f);
    const auto block = save (p);
    const std::string text (block.data() + 8, block.size() - 9);
    EXPECT_NE (std::string::npos, text.find (" dbRatio=\"0.4740000367164612\" ")) << text;
    EXPECT_NE (std::string::npos, text.find (" dbLimit=\"1\" ")) << text;
    EXPECT_NE (std::string::npos, text.find (" dbMSInput=\"0\"/>")) << text;
}

TEST (SavedState, RandomGridStatesRoundTripBitForBit)
{
    std::mt19937 rng (20240611);
    std::uniform_int_distribution<int> step (0, 1000), coin (0, 1);
    for (int round = 0; round < 40; ++round)
    {
        BriscaAudioProcessor source;
        for (auto* param : source.getParameters())
        {
            if (dynamic_cast<juce::AudioParameterBool*> (param) != nullptr)
                param->setValue ((float) coin (rng));
            else
                param->setValue ((float) step (rng) / 1000.0f);
        }
        const auto block = save (source);

        BriscaAudioProcessor target;
        target.setCurrentProgram (11); // start far from the source
        restore (target, block);
        ASSERT_EQ (valueBits (source), valueBits (target)) << round;
        EXPECT_EQ (block, save (target)) << round;
        EXPECT_TRUE (target.stateRestored);
    }
}

TEST (SavedState, LowerCaseTagWithOneAttributeRewritesContinuousAndLeavesSwitches)
{
    BriscaAudioProcessor p;
    set (*p.dbEnable, 0.0f);
    set (*p.dbLimit, 1.0f);
    set (*p.dbMSInput, 0.3f);
    set (*p.dbWet, 0.6f);
    auto before = valueBits (p);

    NotificationRecorder recorder (p);
    restore (p, element ("<mypluginsettings dbInput=\"0.25\"/>"));

    EXPECT_EQ (0.25f, value (p, "dbInput"));
    before[3] = valueBits (p)[3]; // dbInput is the only change
    EXPECT_EQ (before, valueBits (p));
    EXPECT_EQ ("dbInput dbRMS dbWide dbHP dbKnee dbRatio dbThreshold dbAttack dbRelease dbOutput dbWet", recorder.ids());
    for (auto& e : recorder.events)
        EXPECT_EQ (value (p, e.id.c_str()), e.value) << e.id;
    EXPECT_TRUE (p.stateRestored);
}

// One attribute at a time on a valid element: how its text becomes a value.
TEST (SavedState, AttributeTextsReadClampAndKeep)
{
    struct Case
    {
        const char* attributes;
        const char* id;
        float before;
        float after;
    };
    const Case cases[] = {
        { "dbEnable=\"0.3\"",       "dbEnable",  0.0f, 1.0f },  // non-zero is on
        { "dbEnable=\"0\"",         "dbEnable",  1.0f, 0.0f },
        { "dbEnable=\"inf\"",       "dbEnable",  0.0f, 1.0f },
        { "dbLimit=\"abc\"",        "dbLimit",   1.0f, 0.0f },  // not a number reads 0: off
        { "dbLimit=\"1\"",          "dbLimit",   0.3f, 1.0f },  // 0.3 counts as off, so it is written
        { "dbLimit=\"0\"",          "dbLimit",   0.3f, 0.3f },  // already off: left as it is
        { "dbLimit=\"nan\"",        "dbLimit",   0.0f, 0.0f },  // not-a-number is a missing attribute
        { "dbSideChain=\"-nan\"",   "dbSideChain", 1.0f, 1.0f },
        { "dbWet=\"1.7\"",          "dbWet",     0.5f, 1.0f },
        { "dbWet=\"-2\"",           "dbWet",     0.5f, 0.0f },
        { "dbWet=\"inf\"",          "dbWet",     0.5f, 1.0f },
        { "dbWet=\"-INF\"",         "dbWet",     0.5f, 0.0f },
        { "dbWet=\"1e300\"",        "dbWet",     0.5f, 1.0f },
        { "dbWet=\"1e400\"",        "dbWet",     0.5f, 1.0f },        // beyond double: infinite
        { "dbWet=\"1e-400\"",       "dbWet",     0.5f, 0.0f },
        // Exponents that overflowed JUCE's number reader (found by the state fuzzer) read like
        // any other exponent beyond the double range.
        { "dbWet=\"1e3200000040\"",       "dbWet",   0.5f, 1.0f },
        { "dbWet=\"-2.5e99999999999\"",   "dbWet",   0.5f, 0.0f },
        { "dbWet=\"0.25E-0004000000000\"", "dbWet",  0.5f, 0.0f },
        { "dbEnable=\"1e-4000000000\"",   "dbEnable", 1.0f, 0.0f },
        { "dbLimit=\" +7e+12345678901\"",  "dbLimit", 0.0f, 1.0f },
        { "dbWet=\"abc\"",          "dbWet",     0.5f, 0.0f },
        { "dbWet=\"\"",             "dbWet",     0.5f, 0.0f },
        { "dbWet=\"0.2506\"",       "dbWet",     0.5f, 0.25100002f }, // the grid snap
        { "dbWet=\" 0.25xyz\"",     "dbWet",     0.5f, 0.25f },       // the leading number counts
        { "dbWet=\"nan\"",          "dbWet",     0.8f, 0.8f },
        { "dbWet=\"NaN\"",          "dbWet",     0.8f, 0.8f },
        { "DBWET=\"0\"",            "dbWet",     0.8f, 0.8f },        // names are case-sensitive
        { "dbWet=\"0.1\" dbFoo=\"1\"", "dbWet",  0.8f, 0.1f },        // unknown attributes are ignored
        { "dbThreshold=\"0.25\" dbThreshold2=\"0.9\"", "dbThreshold", 0.5f, 0.25f },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.attributes);
        BriscaAudioProcessor p;
        parameter (p, c.id).setValue (c.before);
        NotificationRecorder recorder (p);
        restore (p, element (std::string ("<MYPLUGINSETTINGS ") + c.attributes + "/>"));
        EXPECT_EQ (c.after, value (p, c.id));
        EXPECT_TRUE (p.stateRestored);
        for (auto& e : recorder.events)
        {
            EXPECT_FALSE (std::isnan (e.value)) << e.id;
            if (isSwitch (p, e.id))
                EXPECT_TRUE (e.value == 0.0f || e.value == 1.0f) << e.id;
        }
    }
}

TEST (SavedState, ChildElementsAreIgnored)
{
    BriscaAudioProcessor p;
    set (*p.dbWet, 0.8f);
    restore (p, element ("<MYPLUGINSETTINGS dbInput=\"0.25\"><MYPLUGINSETTINGS dbWet=\"0\"/><x/>text</MYPLUGINSETTINGS>"));
    EXPECT_EQ (0.25f, value (p, "dbInput"));
    EXPECT_EQ (0.8f, value (p, "dbWet"));
}

TEST (SavedState, LengthBeyondTheDataReadsWhatIsThere)
{
    BriscaAudioProcessor p;
    auto block = element ("<MYPLUGINSETTINGS dbInput=\"0.25\"/>");
    putLength (block, (std::int32_t) block.size() + 1000);
    restore (p, block);
    EXPECT_EQ (0.25f, value (p, "dbInput"));

    block.pop_back(); // no zero byte at all: the text simply ends with the data
    set (*p.dbInput, 0.5f);
    restore (p, block);
    EXPECT_EQ (0.25f, value (p, "dbInput"));
}

// Blocks refused as a whole: nothing changes, nobody is told, and the restore flag stays as it
// was, so the next program selection behaves as if the block never came.
TEST (SavedState, RejectedBlocksChangeNothing)
{
    const auto valid = element ("<MYPLUGINSETTINGS dbInput=\"0.25\" dbLimit=\"1\"/>");
    std::vector<std::pair<std::string, Bytes>> cases;
    cases.push_back ({ "empty", {} });
    cases.push_back ({ "eight bytes", Bytes (valid.begin(), valid.begin() + 8) });
    {
        auto b = valid;
        b[3] = '?';
        cases.push_back ({ "wrong magic", b });
    }
    {
        auto b = valid;
        std::memcpy (b.data(), "CcnK", 4); // a VST2 program chunk
        cases.push_back ({ "another format's chunk", b });
    }
    {
        juce::ValueTree tree ("PARAMETERS");
        tree.setProperty ("dbInput", 0.25, nullptr);
        juce::MemoryOutputStream out;
        tree.writeToStream (out);
        cases.push_back ({ "another plug-in's value tree", Bytes ((const char*) out.getData(), (const char*) out.getData() + out.getDataSize()) });
    }
    for (std::int32_t length : { 0, -1, -2147483647 - 1 })
    {
        auto b = valid;
        putLength (b, length);
        cases.push_back ({ "length " + std::to_string (length), b });
    }
    cases.push_back ({ "empty text", Bytes { 'V', 'C', '2', '!', 1, 0, 0, 0, 0 } });
    cases.push_back ({ "unclosed element", element ("<MYPLUGINSETTINGS dbInput=\"0.25\">") });
    cases.push_back ({ "not XML", envelope ("dbInput=0.25") });
    {
        auto b = valid;
        putLength (b, (std::int32_t) valid.size() * 2);
        b.resize (b.size() - 12); // cut inside the element; the length still claims more
        cases.push_back ({ "truncated, length beyond the data", b });
    }
    cases.push_back ({ "other root tag", element ("<PARAMETERS dbInput=\"0.25\" dbLimit=\"1\"/>") });
    cases.push_back ({ "another plug-in's XML", element ("<PLUGINSTATE><PARAM id=\"dbInput\" value=\"0.25\"/></PLUGINSTATE>") });

    for (const auto& [label, block] : cases)
    {
        SCOPED_TRACE (label);
        for (bool flag : { false, true })
        {
            BriscaAudioProcessor p;
            p.stateRestored = flag;
            const auto before = valueBits (p);
            NotificationRecorder recorder (p);
            p.setStateInformation (block.empty() ? nullptr : block.data(), (int) block.size());
            EXPECT_EQ (before, valueBits (p));
            EXPECT_TRUE (recorder.events.empty()) << recorder.ids();
            EXPECT_EQ (flag, p.stateRestored);
        }
        BriscaAudioProcessor p;
        restore (p, block);
        p.setCurrentProgram (5); // Bass: applies, as no restore happened
        EXPECT_EQ (1.0f, value (p, "dbLimit"));
        EXPECT_EQ (0.587f, value (p, "dbOutput"));
    }
}

TEST (SavedState, SizeArgumentBoundsTheRead)
{
    BriscaAudioProcessor p;
    const auto valid = element ("<MYPLUGINSETTINGS dbInput=\"0.25\"/>");
    const auto before = valueBits (p);
    for (int size : { -1, 0, 8 })
        p.setStateInformation (valid.data(), size);
    EXPECT_EQ (before, valueBits (p));
    EXPECT_FALSE (p.stateRestored);
}
