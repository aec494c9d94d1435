#include "PluginProcessor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

// The sixteen parameters as the host and the engine see them: identity and order, defaults,
// the 0.001 grid of the continuous controls, the switches' threshold and the host's texts.
namespace
{
// Hosts reach the stored value through the plain parameter interface.
void write (juce::AudioProcessorParameter& parameter, float value) { parameter.setValue (value); }
float valueOf (const juce::AudioProcessorParameter& parameter) { return parameter.getValue(); }

// A grid point as the grid snap stores it, in single precision: 0.001 * k.
float grid (int k) { return 0.001f * static_cast<float> (k); }

struct Expected
{
    const char* id;
    const char* name;
    bool isSwitch;
    float value; // reported default, and the value right after construction (program 0)
};

// Continuous defaults by hand: 0.47368422 -> 474, 0.5011872 -> 501, 0.0198 -> 20, 0.26663333 -> 267.
const Expected parameters[] = {
    { "dbEnable",    "Enable",     true,  1.0f },
    { "dbSideChain", "Side Chain", true,  0.0f },
    { "dbHPEnable",  "HP Enable",  true,  0.0f },
    { "dbInput",     "Input",      false, grid (500) },
    { "dbRMS",       "RMS-PEAK",   false, 0.0f },
    { "dbWide",      "WIDE",       false, 0.0f },
    { "dbHP",        "HP",         false, 0.0f },
    { "dbKnee",      "Knee",       false, 0.0f },
    { "dbRatio",     "Ratio",      false, grid (474) },
    { "dbThreshold", "Threshold",  false, grid (501) },
    { "dbAttack",    "Attack",     false, grid (20) },
    { "dbRelease",   "Release",    false, grid (267) },
    { "dbOutput",    "Output",     false, grid (500) },
    { "dbLimit",     "Limit",      true,  0.0f },
    { "dbMSInput",   "M/S Input",  true,  0.0f },
    { "dbWet",       "Wet",        false, 1.0f },
};

// The typed members in index order, to check each points at the object the host sees there.
std::vector<juce::AudioProcessorParameter*> membersInIndexOrder (BriscaAudioProcessor& p)
{
    return { p.dbEnable, p.dbSideChain, p.dbHPEnable, p.dbInput, p.dbRMS, p.dbWide, p.dbHP, p.dbKnee,
             p.dbRatio, p.dbThreshold, p.dbAttack, p.dbRelease, p.dbOutput, p.dbLimit, p.dbMSInput, p.dbWet };
}

std::vector<juce::AudioParameterFloat*> continuous (BriscaAudioProcessor& p)
{
    return { p.dbInput, p.dbRMS, p.dbWide, p.dbHP, p.dbKnee, p.dbRatio, p.dbThreshold,
             p.dbAttack, p.dbRelease, p.dbOutput, p.dbWet };
}

std::vector<juce::AudioParameterBool*> switches (BriscaAudioProcessor& p)
{
    return { p.dbEnable, p.dbSideChain, p.dbHPEnable, p.dbLimit, p.dbMSInput };
}
} // namespace

TEST (ParameterSet, IndexIdNameKindAndDefaults)
{
    BriscaAudioProcessor p;
    const auto& params = p.getParameters();
    const auto members = membersInIndexOrder (p);
    ASSERT_EQ (16, params.size());
    for (int i = 0; i < 16; ++i)
    {
        const auto& e = parameters[i];
        SCOPED_TRACE (e.id);
        auto* param = params[i];
        auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (param);
        ASSERT_NE (nullptr, ranged);
        EXPECT_EQ (juce::String (e.id), ranged->getParameterID());
        EXPECT_EQ (juce::String (e.name), param->getName (100));
        EXPECT_EQ (i, param->getParameterIndex());
        EXPECT_EQ (members[(size_t) i], param);
        EXPECT_EQ (e.isSwitch, dynamic_cast<juce::AudioParameterBool*> (param) != nullptr);
        EXPECT_EQ (! e.isSwitch, dynamic_cast<juce::AudioParameterFloat*> (param) != nullptr);
        EXPECT_EQ (e.isSwitch, param->isBoolean());
        EXPECT_TRUE (param->isAutomatable());
        EXPECT_EQ (e.value, param->getDefaultValue());
        EXPECT_EQ (e.value, valueOf (*param));
    }
    // Plain meaning of program 0 after the snap: attack 2.0 ms, release 80.1 ms.
    EXPECT_NEAR (2.0, 100.0 * p.dbAttack->get(), 1e-5);
    EXPECT_NEAR (80.1, 300.0 * p.dbRelease->get(), 1e-5);
}

TEST (ParameterSet, HostWritesLandOnTheThousandthGrid)
{
    // A host's 9/19 for the ratio: exactly this single-precision number is kept.
    {
        BriscaAudioProcessor p;
        write (*p.dbRatio, 0.47368422f);
        EXPECT_EQ (0.474000036716461181640625f, p.dbRatio->get());
    }

    struct Case { float written; int k; };
    std::vector<Case> cases = { { 0.47368422f, 474 }, { 0.5011872f, 501 }, { 0.0198f, 20 }, { 0.26663333f, 267 },
                                { 0.123456f, 123 }, { 0.7777f, 778 }, { 0.0014f, 1 }, { 0.3f, 300 },
                                { 0.0f, 0 }, { 1.0f, 1000 }, { -0.2f, 0 }, { 1.7f, 1000 }, { 1.0e9f, 1000 } };
    // Exact half steps in single precision go up.
    for (const int k : { 0, 2, 473, 999 })
    {
        const float half = 0.001f * (static_cast<float> (k) + 0.5f);
        ASSERT_EQ (static_cast<float> (k) + 0.5f, half / 0.001f) << "not a half step: " << k;
        cases.push_back ({ half, k + 1 });
    }

    BriscaAudioProcessor p;
    for (auto* param : continuous (p))
        for (const auto& c : cases)
        {
            write (*param, c.written);
            const float expected = c.k >= 1000 ? 1.0f : grid (c.k);
            EXPECT_EQ (expected, param->get()) << param->getParameterID() << " written " << c.written;
            EXPECT_EQ (expected, valueOf (*param)) << param->getParameterID() << " written " << c.written;
        }
}

TEST (ParameterSet, SwitchesKeepTheWrittenValueAndAreOnFromOneHalf)
{
    struct Case { float written; bool on; };
    const Case cases[] = { { 0.3f, false }, { 0.5f, true }, { 0.49999997f, false }, { 0.75f, true }, { 0.0f, false }, { 1.0f, true } };
    BriscaAudioProcessor p;
    for (auto* s : switches (p))
        for (const auto& c : cases)
        {
            write (*s, c.written);
            EXPECT_EQ (c.written, valueOf (*s)) << s->getParameterID();
            EXPECT_EQ (c.on, s->get()) << s->getParameterID() << " written " << c.written;
        }
}

TEST (ParameterSet, EngineReadsAnEnableOfPointThreeAsOff)
{
    BriscaAudioProcessor p;
    p.setRateAndBufferSizeDetails (48000.0, 256);
    p.prepareToPlay (48000.0, 256);
    write (*p.dbInput, 1.0f); // +20 dB: any processing changes the block
    juce::AudioBuffer<float> input (4, 256);
    for (int ch = 0; ch < 4; ++ch)
        for (int i = 0; i < 256; ++i)
            input.setSample (ch, i, 0.25f * std::sin (0.03f * (float) (i + 7 * ch)));
    juce::MidiBuffer midi;

    auto sameAsInput = [&] (const juce::AudioBuffer<float>& b) {
        for (int ch = 0; ch < 2; ++ch)
            if (std::memcmp (input.getReadPointer (ch), b.getReadPointer (ch), sizeof (float) * 256) != 0)
                return false;
        return true;
    };

    write (*p.dbEnable, 0.3f);
    auto off = input;
    p.processBlock (off, midi);
    EXPECT_TRUE (sameAsInput (off));

    write (*p.dbEnable, 0.5f);
    auto on = input;
    p.processBlock (on, midi);
    EXPECT_FALSE (sameAsInput (on));
}

TEST (ParameterText, HostSeesTwoDecimalsAndOnOff)
{
    BriscaAudioProcessor p;
    struct Case { juce::AudioProcessorParameter* param; float value; int maxLength; const char* text; };
    const Case cases[] = {
        { p.dbInput, valueOf (*p.dbInput), 1024, "0.50" },
        { p.dbWet, valueOf (*p.dbWet), 1024, "1.00" },
        { p.dbRatio, valueOf (*p.dbRatio), 1024, "0.47" },
        { p.dbRelease, valueOf (*p.dbRelease), 1024, "0.27" },
        { p.dbAttack, valueOf (*p.dbAttack), 1024, "0.02" },
        { p.dbKnee, 0.0f, 1024, "0.00" },
        { p.dbHP, 0.0005f, 1024, "0.00" }, // the grid point 0.001 still shows two decimals
        { p.dbWet, 1.0f, 3, "1.0" },       // cut to the length the host asks for
        { p.dbWet, 1.0f, 0, "1.00" },
        { p.dbEnable, valueOf (*p.dbEnable), 1024, "On" },
        { p.dbSideChain, valueOf (*p.dbSideChain), 1024, "Off" },
        { p.dbLimit, 0.3f, 1024, "Off" },
        { p.dbLimit, 0.5f, 1024, "On" },
    };
    for (const auto& c : cases)
        EXPECT_EQ (juce::String (c.text), c.param->getText (c.value, c.maxLength))
            << c.param->getName (64) << " at " << c.value << ", length " << c.maxLength;
}

TEST (ParameterText, TypedTextIsReadInTheNormalisedScale)
{
    BriscaAudioProcessor p;
    struct Case { juce::AudioProcessorParameter* param; const char* text; float value; };
    const Case cases[] = {
        { p.dbLimit, "yes", 1.0f }, { p.dbLimit, "TRUE", 1.0f }, { p.dbLimit, "On", 1.0f },
        { p.dbLimit, "off", 0.0f }, { p.dbLimit, "No", 0.0f }, { p.dbLimit, "false", 0.0f },
        { p.dbLimit, "2", 1.0f }, { p.dbLimit, "0", 0.0f }, { p.dbLimit, "-1", 1.0f }, { p.dbLimit, "maybe", 0.0f },
        { p.dbRatio, "0.25", grid (250) }, { p.dbRatio, "0.4736842", grid (474) }, { p.dbRatio, "1.5", 1.0f },
        { p.dbRatio, "-3", 0.0f }, { p.dbRatio, "abc", 0.0f },
    };
    for (const auto& c : cases)
        EXPECT_EQ (c.value, c.param->getValueForText (c.text)) << c.param->getName (64) << " \"" << c.text << "\"";
}
