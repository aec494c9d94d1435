#include "StateBlocks.h"

#include <gtest/gtest.h>

// The thirteen factory programs through the host's program interface. Expected values are the
// table constants after the 0.001 grid snap, 0.001f * floor (v / 0.001f + 0.5f) in single
// precision, worked out apart from the plug-in.
namespace
{
struct ProgramRow
{
    const char* name;
    float input, wide, threshold, ratio, attack, release, output, wet;
    bool limit, sideChain;
    // Switch writes when the program starts from Limit on, Side Chain off and HP Enable on.
    const char* switchWrites;
};

const ProgramRow programRows[] = {
    { "Default",        0.5f,        0.0f,        0.50100005f, 0.47400004f, 0.020000001f, 0.26700002f,  0.5f,        1.0f,        false, false, "dbLimit dbHPEnable" },
    { "Kick",           0.5f,        0.0f,        0.35500002f, 0.18400002f, 0.3f,         0.26700002f,  0.55f,       0.72f,       false, false, "dbLimit dbHPEnable" },
    { "Kick Hardcore",  0.5f,        0.0f,        0.05f,       1.0f,        0.0f,         0.0f,         1.0f,        0.3f,        false, false, "dbLimit dbHPEnable" },
    { "Snare",          0.5f,        0.0f,        0.42200002f, 0.42100003f, 0.060000002f, 0.34300002f,  0.5f,        0.8f,        false, false, "dbLimit dbHPEnable" },
    { "Percussion",     0.5f,        0.5f,        0.25100002f, 0.57900006f, 0.34f,        0.1f,         0.56700003f, 1.0f,        true,  false, "dbHPEnable" },
    { "Bass",           0.5f,        0.0f,        0.48400003f, 1.0f,        0.014f,       0.4f,         0.587f,      1.0f,        true,  false, "dbHPEnable" },
    { "Lead",           0.5f,        0.3f,        0.44700003f, 0.289f,      0.8f,         0.023000002f, 0.563f,      1.0f,        false, false, "dbLimit dbHPEnable" },
    { "Pad",            0.5f,        0.8f,        0.462f,      1.0f,        0.036000002f, 0.66700006f,  0.55f,       0.8f,        true,  false, "dbHPEnable" },
    { "Vocal",          0.5f,        0.0f,        0.316f,      1.0f,        0.022000002f, 0.004f,       0.55f,       1.0f,        false, false, "dbLimit dbHPEnable" },
    { "Master Gentle",  0.55f,       0.5f,        0.56200004f, 0.147f,      0.120000005f, 0.16700001f,  0.57500005f, 0.70000005f, true,  false, "dbHPEnable" },
    { "Master Loud",    0.57500005f, 0.70000005f, 0.95500004f, 0.47400004f, 0.030000001f, 0.020000001f, 0.5f,        0.8f,        true,  false, "dbHPEnable" },
    { "Master Extreme", 0.587f,      1.0f,        0.97700006f, 1.0f,        0.0f,         0.0f,         0.5f,        1.0f,        true,  false, "dbHPEnable" },
    { "Sidechain Bass", 0.5f,        1.0f,        0.018000001f, 1.0f,       0.3f,         0.26700002f,  0.55f,       1.0f,        true,  true,  "dbSideChain dbHPEnable" },
};

// A state that no program produces: restoring it must be visible in every parameter.
Bytes oddState()
{
    BriscaAudioProcessor source;
    for (auto* param : source.getParameters())
        param->setValue (0.123f);
    return save (source);
}
} // namespace

TEST (Programs, NamesCountAndOutOfRangeNames)
{
    BriscaAudioProcessor p;
    ASSERT_EQ (13, p.getNumPrograms());
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ (juce::String (programRows[i].name), p.getProgramName (i)) << i;
    for (int i : { 13, 20, -1, -13 })
        EXPECT_TRUE (p.getProgramName (i).isEmpty()) << i;
    p.changeProgramName (0, "Renamed");
    EXPECT_EQ (juce::String ("Default"), p.getProgramName (0));
}

TEST (Programs, EachSetsItsSnappedValuesAndOnlyTheSwitchesThatChange)
{
    for (int index = 0; index < 13; ++index)
    {
        SCOPED_TRACE (programRows[index].name);
        const auto& row = programRows[index];
        BriscaAudioProcessor p;
        // Values no program writes, and switch states that make the written switches visible.
        set (*p.dbEnable, 0.0f);
        set (*p.dbRMS, 0.3f);
        set (*p.dbMSInput, 1.0f);
        set (*p.dbKnee, 0.5f);
        set (*p.dbHP, 0.7f);
        set (*p.dbHPEnable, 1.0f);
        set (*p.dbLimit, 1.0f);
        set (*p.dbSideChain, 0.0f);

        NotificationRecorder recorder (p);
        p.setCurrentProgram (index);

        EXPECT_EQ (index, p.getCurrentProgram());
        EXPECT_EQ (row.input, value (p, "dbInput"));
        EXPECT_EQ (row.wide, value (p, "dbWide"));
        EXPECT_EQ (row.threshold, value (p, "dbThreshold"));
        EXPECT_EQ (row.ratio, value (p, "dbRatio"));
        EXPECT_EQ (row.attack, value (p, "dbAttack"));
        EXPECT_EQ (row.release, value (p, "dbRelease"));
        EXPECT_EQ (row.output, value (p, "dbOutput"));
        EXPECT_EQ (row.wet, value (p, "dbWet"));
        EXPECT_EQ (0.0f, value (p, "dbKnee"));
        EXPECT_EQ (0.0f, value (p, "dbHP"));
        EXPECT_EQ (row.limit ? 1.0f : 0.0f, value (p, "dbLimit"));
        EXPECT_EQ (row.sideChain ? 1.0f : 0.0f, value (p, "dbSideChain"));
        EXPECT_EQ (0.0f, value (p, "dbHPEnable"));
        EXPECT_EQ (0.0f, value (p, "dbEnable"));
        EXPECT_EQ (0.3f, value (p, "dbRMS"));
        EXPECT_EQ (1.0f, value (p, "dbMSInput"));

        std::string switches;
        int continuous = 0;
        for (auto& e : recorder.events)
        {
            auto* param = &parameter (p, e.id.c_str());
            if (dynamic_cast<juce::AudioParameterBool*> (param) != nullptr)
                switches += (switches.empty() ? "" : " ") + e.id;
            else
                ++continuous;
        }
        EXPECT_EQ (row.switchWrites, switches);
        EXPECT_EQ (10, continuous);
    }
}

TEST (Programs, NotifyContinuousInFixedOrderThenChangedSwitchesThenHP)
{
    BriscaAudioProcessor p;
    set (*p.dbHPEnable, 1.0f);
    NotificationRecorder recorder (p);
    p.setCurrentProgram (4); // Percussion: Limit turns on, Side Chain stays off, HP Enable turns off

    const std::vector<std::pair<std::string, float>> expected = {
        { "dbInput", 0.5f }, { "dbWide", 0.5f }, { "dbKnee", 0.0f }, { "dbThreshold", 0.25100002f },
        { "dbRatio", 0.57900006f }, { "dbAttack", 0.34f }, { "dbRelease", 0.1f }, { "dbOutput", 0.56700003f },
        { "dbWet", 1.0f }, { "dbLimit", 1.0f }, { "dbHPEnable", 0.0f }, { "dbHP", 0.0f },
    };
    ASSERT_EQ (expected.size(), recorder.events.size()) << recorder.ids();
    for (size_t i = 0; i < expected.size(); ++i)
    {
        EXPECT_EQ (expected[i].first, recorder.events[i].id) << i;
        EXPECT_EQ (expected[i].second, recorder.events[i].value) << i;
    }
}

TEST (Programs, ConstructionAppliesProgramZeroAndReselectingItRewritesOnlyContinuous)
{
    BriscaAudioProcessor p;
    EXPECT_EQ (0, p.getCurrentProgram());
    EXPECT_EQ (-1, p.lastProgramIndex);
    EXPECT_FALSE (p.stateRestored);
    EXPECT_EQ (0.47400004f, value (p, "dbRatio"));
    EXPECT_EQ (0.50100005f, value (p, "dbThreshold"));
    EXPECT_EQ (0.020000001f, value (p, "dbAttack"));
    EXPECT_EQ (0.26700002f, value (p, "dbRelease"));

    NotificationRecorder recorder (p);
    p.setCurrentProgram (0);
    EXPECT_EQ ("dbInput dbWide dbKnee dbThreshold dbRatio dbAttack dbRelease dbOutput dbWet dbHP", recorder.ids());
}

TEST (Programs, SelectingTheSameIndexTwiceChangesNothingTheSecondTime)
{
    BriscaAudioProcessor p;
    p.setCurrentProgram (3);
    set (*p.dbWet, 0.25f); // would be overwritten if program 3 were applied again
    NotificationRecorder recorder (p);
    p.setCurrentProgram (3);
    EXPECT_TRUE (recorder.events.empty()) << recorder.ids();
    EXPECT_EQ (0.25f, value (p, "dbWet"));
}

TEST (Programs, OutOfRangeIndicesAreRecordedButChangeNothing)
{
    BriscaAudioProcessor p;
    p.setCurrentProgram (7);
    const auto before = valueBits (p);
    NotificationRecorder recorder (p);
    for (int index : { 20, 13, -1, -2147483647 - 1 })
    {
        p.setCurrentProgram (index);
        EXPECT_EQ (index, p.getCurrentProgram());
        EXPECT_EQ (before, valueBits (p)) << index;
    }
    EXPECT_TRUE (recorder.events.empty()) << recorder.ids();
    EXPECT_TRUE (p.getProgramName (p.getCurrentProgram()).isEmpty());
}

TEST (Programs, AfterARestoreTheNextNewIndexIsOnlyRecordedAndTheOneAfterApplies)
{
    BriscaAudioProcessor p;
    p.setCurrentProgram (2);
    restore (p, oddState());
    ASSERT_TRUE (p.stateRestored);
    EXPECT_EQ (2, p.getCurrentProgram()); // the state carries no program
    const auto restored = valueBits (p);

    {
        NotificationRecorder recorder (p);
        p.setCurrentProgram (2); // same index as before the restore: nothing, flag kept
        EXPECT_TRUE (p.stateRestored);
        p.setCurrentProgram (5);
        EXPECT_TRUE (recorder.events.empty()) << recorder.ids();
    }
    EXPECT_EQ (restored, valueBits (p));
    EXPECT_EQ (5, p.getCurrentProgram());
    EXPECT_FALSE (p.stateRestored);

    p.setCurrentProgram (6);
    EXPECT_EQ (6, p.getCurrentProgram());
    EXPECT_EQ (0.289f, value (p, "dbRatio"));
    EXPECT_EQ (0.8f, value (p, "dbAttack"));
}

TEST (Programs, AfterARejectedRestoreTheNextIndexApplies)
{
    BriscaAudioProcessor p;
    auto block = oddState();
    block[3] = '?'; // no longer "VC2!"
    restore (p, block);
    ASSERT_FALSE (p.stateRestored);
    p.setCurrentProgram (5);
    EXPECT_EQ (1.0f, value (p, "dbLimit"));
    EXPECT_EQ (0.587f, value (p, "dbOutput"));
}

TEST (Programs, NeverTouchEnableRmsOrMidSide)
{
    BriscaAudioProcessor p;
    set (*p.dbEnable, 0.0f);
    set (*p.dbRMS, 0.7f);
    set (*p.dbMSInput, 0.3f); // a host may leave a switch between 0 and 1
    NotificationRecorder recorder (p);
    for (int index = 0; index < 13; ++index)
        p.setCurrentProgram (index);
    EXPECT_EQ (0.0f, value (p, "dbEnable"));
    EXPECT_EQ (0.70000005f, value (p, "dbRMS"));
    EXPECT_EQ (0.3f, value (p, "dbMSInput"));
    for (auto& e : recorder.events)
        EXPECT_TRUE (e.id != "dbEnable" && e.id != "dbRMS" && e.id != "dbMSInput") << e.id;
}
