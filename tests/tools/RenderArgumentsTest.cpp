#include "RenderHarness.h"

#include <gtest/gtest.h>

#include <unistd.h>

// How the command line turns into parameter values, and how bad command lines are refused:
// with a message that names the problem and without writing anything.
using namespace render_test;

namespace
{
// The state block the renderer saved: "VC2!", the text length, the XML text.
std::unique_ptr<juce::XmlElement> readState (const juce::File& file)
{
    juce::MemoryBlock data;
    if (! file.loadFileAsData (data) || data.getSize() < 9)
        return nullptr;
    const auto length = static_cast<size_t> (juce::ByteOrder::littleEndianInt (static_cast<const char*> (data.getData()) + 4));
    return juce::parseXML (juce::String::fromUTF8 (static_cast<const char*> (data.getData()) + 8, static_cast<int> (length)));
}

struct Expected
{
    const char* id;
    int gridIndex; // continuous: value * 1000; switches: 1 on, 0 off
    bool isSwitch = false;
};

struct ValidCase
{
    juce::StringArray arguments;
    std::vector<Expected> expected;
};

// Indices derived by hand from the inverse formulas, e.g. -18 dB: (10^(-18/20) - 0.01) / 0.99
// = 0.1171 -> 117; 300 Hz: 250 / 1950 = 0.1282 -> 128; ratio 4: 3.5 / 19.5 = 0.1795 -> 179.
const ValidCase validCases[] = {
    { { "dbThreshold=-18dB" }, { { "dbThreshold", 117 } } },
    { { "dbThreshold=-18" }, { { "dbThreshold", 117 } } },
    { { "dbThreshold=-40dB" }, { { "dbThreshold", 0 } } },
    { { "dbThreshold=0dB" }, { { "dbThreshold", 1000 } } },
    { { "dbRatio=4" }, { { "dbRatio", 179 } } },
    { { "dbRatio=0.25n" }, { { "dbRatio", 250 } } },
    { { "dbAttack=10ms" }, { { "dbAttack", 100 } } },
    { { "dbAttack=10MS" }, { { "dbAttack", 100 } } },
    { { "dbRelease=120 ms" }, { { "dbRelease", 400 } } },
    { { "dbHP=300Hz" }, { { "dbHP", 128 } } },
    { { "dbInput=+6dB" }, { { "dbInput", 650 } } },
    { { "dbOutput=-3.4dB" }, { { "dbOutput", 415 } } },
    { { "dbKnee=12dB" }, { { "dbKnee", 250 } } },
    { { "dbWet=0.5n" }, { { "dbWet", 500 } } },
    { { "dbWet=25%" }, { { "dbWet", 250 } } },
    { { "dbWide=.6" }, { { "dbWide", 6 } } },
    { { "dbLimit=on", "dbSideChain=1", "dbMSInput=TRUE", "dbHPEnable=true" },
      { { "dbLimit", 1, true }, { "dbSideChain", 1, true }, { "dbMSInput", 1, true }, { "dbHPEnable", 1, true } } },
    { { "dbEnable=off" }, { { "dbEnable", 0, true } } },
    { { "dbEnable=0" }, { { "dbEnable", 0, true } } },
    { { "dbEnable=False" }, { { "dbEnable", 0, true } } },
    // Program first, then the assignments left to right; the last one wins.
    { { "dbRatio=4", "--program", "Master Loud", "dbWet=0.5n", "dbRatio=6" },
      { { "dbWide", 700 }, { "dbWet", 500 }, { "dbRatio", 282 }, { "dbLimit", 1, true } } },
    { { "--program", "2" }, { { "dbRatio", 1000 }, { "dbThreshold", 50 }, { "dbOutput", 1000 } } },
};

void PrintTo (const ValidCase& c, std::ostream* os) { *os << c.arguments.joinIntoString (" "); }

class RenderAssignment : public ::testing::TestWithParam<ValidCase> {};
} // namespace

TEST_P (RenderAssignment, WritesTheGridValue)
{
    ScratchFolder scratch;
    auto arguments = GetParam().arguments;
    arguments.addArray ({ "--list", "--state-out", scratch.file ("s.state").getFullPathName() });
    const auto run = runTool (arguments);
    ASSERT_EQ (0, run.exitCode) << run.output;
    const auto state = readState (scratch.file ("s.state"));
    ASSERT_NE (nullptr, state);
    for (const auto& e : GetParam().expected)
    {
        const auto context = juce::String (e.id) + " from " + arguments.joinIntoString (" ");
        if (e.isSwitch)
        {
            EXPECT_EQ (juce::String (e.gridIndex), state->getStringAttribute (e.id)) << context;
            continue;
        }
        const double value = state->getDoubleAttribute (e.id, -1.0);
        EXPECT_EQ (e.gridIndex, std::lround (value * 1000.0)) << context;
        EXPECT_NEAR (e.gridIndex / 1000.0, value, 1e-6) << context;
    }
}

INSTANTIATE_TEST_SUITE_P (Table, RenderAssignment, ::testing::ValuesIn (validCases),
                          [] (const auto& info) { return "Row" + std::to_string (info.index); });

namespace
{
struct ErrorCase
{
    const char* name;
    juce::StringArray arguments; // "IN", "SIDE" etc. are replaced by files in the scratch folder
    const char* message;
};

const ErrorCase errorCases[] = {
    { "UnknownParameter", { "IN", "dbFoo=1" }, "unknown parameter 'dbFoo'" },
    { "ParameterInWrongCase", { "IN", "dbthreshold=-6" }, "did you mean dbThreshold?" },
    { "ThresholdBelowRange", { "IN", "dbThreshold=-50dB" }, "dbThreshold: -50 dB is outside -40 .. 0 dB" },
    { "ThresholdAboveRange", { "IN", "dbThreshold=6" }, "dbThreshold: 6 dB is outside -40 .. 0 dB" },
    { "RatioAboveRange", { "IN", "dbRatio=25" }, "dbRatio: 25 is outside 0.5 .. 20" },
    { "HighPassBelowRange", { "IN", "dbHP=10Hz" }, "dbHP: 10 Hz is outside 50 .. 2000 Hz" },
    { "NormalisedAboveOne", { "IN", "dbWet=1.5n" }, "dbWet: 1.5n is outside the normalised range 0 .. 1" },
    { "UnitMismatch", { "IN", "dbAttack=10dB" }, "dbAttack: unit 'dB' does not fit; dbAttack is in ms" },
    { "UnitOnPlainNumber", { "IN", "dbRatio=4ms" }, "dbRatio: unit 'ms' does not fit" },
    { "NotANumber", { "IN", "dbThreshold=nan" }, "dbThreshold: 'nan' is not a number" },
    { "BadSwitchValue", { "IN", "dbLimit=maybe" }, "dbLimit: 'maybe' is not a switch value" },
    { "UnknownProgram", { "IN", "--program", "Polka" }, "unknown program 'Polka'" },
    { "ProgramIndexTooHigh", { "IN", "--program", "13" }, "numbered 0 .. 12" },
    { "ZeroBlock", { "IN", "--block", "0" }, "--block takes a whole number" },
    { "UnknownOption", { "IN", "--loud" }, "unknown option --loud" },
    { "MissingInput", { "MISSING" }, "no such file" },
    { "NotAudio", { "TEXT" }, "not a readable audio file" },
    { "ThreeChannels", { "THREE" }, "has 3 channels; only mono and stereo" },
    { "ThreeChannelSideChain", { "IN", "--sidechain", "THREE" }, "has 3 channels" },
    { "SideChainAtOtherRate", { "IN", "--sidechain", "RATE" }, "the side chain runs at 48000 Hz and the input at 44100 Hz" },
    { "NotAState", { "IN", "--state-in", "TEXT" }, "not a Brisca state" },
    { "FloatIntoFlac", { "IN", "--float", "-o", "OUT.flac" }, "--float writes a WAV file" },
};

void PrintTo (const ErrorCase& c, std::ostream* os) { *os << c.arguments.joinIntoString (" "); }

class RenderRefuses : public ::testing::TestWithParam<ErrorCase> {};
} // namespace

TEST_P (RenderRefuses, WithAMessageAndNoOutput)
{
    ScratchFolder scratch;
    ASSERT_TRUE (writeAudio (scratch.file ("in.wav"), testSignal (2, 2000, 44100.0, 1), 44100.0, 32));
    ASSERT_TRUE (writeAudio (scratch.file ("three.wav"), testSignal (3, 2000, 44100.0, 2), 44100.0, 16));
    ASSERT_TRUE (writeAudio (scratch.file ("rate.wav"), testSignal (1, 2000, 48000.0, 3), 48000.0, 16));
    ASSERT_TRUE (scratch.file ("text.wav").replaceWithText ("not audio at all\n"));

    juce::StringArray arguments;
    for (auto a : GetParam().arguments)
        arguments.add (a.replace ("OUT", scratch.file ("out").getFullPathName())
                        .replace ("IN", scratch.file ("in.wav").getFullPathName())
                        .replace ("MISSING", scratch.file ("missing.wav").getFullPathName())
                        .replace ("TEXT", scratch.file ("text.wav").getFullPathName())
                        .replace ("THREE", scratch.file ("three.wav").getFullPathName())
                        .replace ("RATE", scratch.file ("rate.wav").getFullPathName()));
    if (! arguments.contains ("-o"))
        arguments.addArray ({ "-o", scratch.file ("out.wav").getFullPathName() });

    const auto run = runTool (arguments);
    EXPECT_NE (0, run.exitCode);
    EXPECT_TRUE (run.output.contains (GetParam().message)) << run.output;
    EXPECT_FALSE (scratch.file ("out.wav").exists());
    EXPECT_FALSE (scratch.file ("out.flac").exists());
    EXPECT_EQ (4, scratch.path().getNumberOfChildFiles (juce::File::findFiles)) << "a stray file was left behind";
}

INSTANTIATE_TEST_SUITE_P (Table, RenderRefuses, ::testing::ValuesIn (errorCases),
                          [] (const auto& info) { return std::string (info.param.name); });

// Every way of naming a file the run reads as a file it writes is refused, and the file keeps
// its bytes.
TEST (RenderRefuses, ToOverwriteWhatItReads)
{
    ScratchFolder scratch;
    const auto input = scratch.file ("in.wav");
    const auto side = scratch.file ("side.wav");
    ASSERT_TRUE (writeAudio (input, testSignal (2, 2000, 44100.0, 1), 44100.0, 24));
    ASSERT_TRUE (writeAudio (side, testSignal (1, 2000, 44100.0, 2), 44100.0, 24));
    ASSERT_TRUE (scratch.file ("sub").createDirectory());
    ASSERT_TRUE (input.createSymbolicLink (scratch.file ("link.wav"), true));
    ASSERT_EQ (0, ::link (input.getFullPathName().toRawUTF8(), scratch.file ("hard.wav").getFullPathName().toRawUTF8()));
    juce::MemoryBlock inputBytes, sideBytes;
    ASSERT_TRUE (input.loadFileAsData (inputBytes));
    ASSERT_TRUE (side.loadFileAsData (sideBytes));

    const auto in = input.getFullPathName();
    const juce::StringArray attempts[] = {
        { in, "-o", in },
        { in, "-o", scratch.path().getFullPathName() + "/sub/../in.wav" },
        { in, "-o", scratch.file ("link.wav").getFullPathName() },
        { in, "-o", scratch.file ("hard.wav").getFullPathName() },
        { scratch.file ("link.wav").getFullPathName(), "-o", in },
        { in, "--sidechain", side.getFullPathName(), "-o", side.getFullPathName() },
        { in, "-o", scratch.file ("out.wav").getFullPathName(), "--plot", in },
        { in, "--sidechain", side.getFullPathName(), "-o", scratch.file ("out.wav").getFullPathName(), "--state-out", side.getFullPathName() },
        { in, "-o", scratch.file ("out.wav").getFullPathName(), "--state-in", side.getFullPathName(), "--state-out", side.getFullPathName() },
        { "-o", scratch.file ("demo-in.wav").getFullPathName() }, // the demo's own input
    };
    for (const auto& attempt : attempts)
    {
        const auto run = runTool (attempt);
        EXPECT_NE (0, run.exitCode) << attempt.joinIntoString (" ");
        EXPECT_TRUE (run.output.contains ("refusing") || run.output.contains ("would both be")) << run.output;
    }
    juce::MemoryBlock inputAfter, sideAfter;
    ASSERT_TRUE (input.loadFileAsData (inputAfter));
    ASSERT_TRUE (side.loadFileAsData (sideAfter));
    EXPECT_EQ (inputBytes, inputAfter);
    EXPECT_EQ (sideBytes, sideAfter);
    EXPECT_FALSE (scratch.file ("out.wav").exists());
}

TEST (RenderHelp, PrintsUsageAndSucceeds)
{
    const auto run = runTool ({ "--help" });
    EXPECT_EQ (0, run.exitCode);
    EXPECT_TRUE (run.output.contains ("Usage: brisca-render")) << run.output;
}
