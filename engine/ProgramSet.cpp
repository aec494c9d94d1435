#include "ProgramSet.h"

#include "ParameterWrite.h"
#include "PluginProcessor.h"

namespace
{
struct Program
{
    const char* name;
    float input, wide, threshold, ratio, attack, release, output, wet;
    bool limit, sideChain;
};

// Normalised values. Thresholds are 10^(dB/20) of round dB figures (-6, -9, -26, ...).
constexpr Program programs[ProgramSet::numPrograms] = {
    { "Default",        0.5f,    0.0f, 0.5011872f,    0.47368422f, 0.0198f, 0.26663333f,    0.5f,    1.0f,  false, false },
    { "Kick",           0.5f,    0.0f, 0.3548134f,    0.18421052f, 0.2998f, 0.26663333f,    0.55f,   0.72f, false, false },
    { "Kick Hardcore",  0.5f,    0.0f, 0.050118722f,  1.0f,        0.0f,    0.0f,           1.0f,    0.3f,  false, false },
    { "Snare",          0.5f,    0.0f, 0.42169648f,   0.42105263f, 0.0598f, 0.3433f,        0.5f,    0.8f,  false, false },
    { "Percussion",     0.5f,    0.5f, 0.25118864f,   0.57894737f, 0.3398f, 0.09996667f,    0.5675f, 1.0f,  true,  false },
    { "Bass",           0.5f,    0.0f, 0.48417234f,   1.0f,        0.0138f, 0.39996666f,    0.5875f, 1.0f,  true,  false },
    { "Lead",           0.5f,    0.3f, 0.4466836f,    0.28947368f, 0.7998f, 0.0233f,        0.5625f, 1.0f,  false, false },
    { "Pad",            0.5f,    0.8f, 0.462381f,     1.0f,        0.0358f, 0.6666333f,     0.55f,   0.8f,  true,  false },
    { "Vocal",          0.5f,    0.0f, 0.31622776f,   1.0f,        0.0218f, 0.0039666668f,  0.55f,   1.0f,  false, false },
    { "Master Gentle",  0.55f,   0.5f, 0.56234133f,   0.14736842f, 0.1198f, 0.16663334f,    0.575f,  0.7f,  true,  false },
    { "Master Loud",    0.575f,  0.7f, 0.9549926f,    0.47368422f, 0.0298f, 0.019966668f,   0.5f,    0.8f,  true,  false },
    { "Master Extreme", 0.5875f, 1.0f, 0.9772372f,    1.0f,        0.0f,    0.0f,           0.5f,    1.0f,  true,  false },
    { "Sidechain Bass", 0.5f,    1.0f, 0.017782792f,  1.0f,        0.2998f, 0.26663333f,    0.55f,   1.0f,  true,  true  },
};

// Every write notifies, even when the value does not change, so hosts always see the program.
void writeContinuous (juce::AudioParameterFloat& parameter, float value)
{
    setAndNotify (parameter, parameter.convertTo0to1 (value));
}

void writeSwitch (juce::AudioParameterBool& parameter, bool on)
{
    if (parameter.get() == on)
        return;
    setAndNotify (parameter, on ? 1.0f : 0.0f);
}
} // namespace

ProgramSet::ProgramSet (BriscaAudioProcessor& owner) : processor (owner) {}

const char* ProgramSet::GetName (int index)
{
    return static_cast<unsigned> (index) < static_cast<unsigned> (numPrograms) ? programs[index].name : "";
}

void ProgramSet::ChangeProgram (int index, bool recordOnly)
{
    currentProgram = index;
    if (recordOnly || static_cast<unsigned> (index) >= static_cast<unsigned> (numPrograms))
        return;

    const Program& p = programs[index];
    auto& proc = processor;
    writeContinuous (*proc.dbInput, p.input);
    writeContinuous (*proc.dbWide, p.wide);
    writeContinuous (*proc.dbKnee, 0.0f);
    writeContinuous (*proc.dbThreshold, p.threshold);
    writeContinuous (*proc.dbRatio, p.ratio);
    writeContinuous (*proc.dbAttack, p.attack);
    writeContinuous (*proc.dbRelease, p.release);
    writeContinuous (*proc.dbOutput, p.output);
    writeContinuous (*proc.dbWet, p.wet);
    writeSwitch (*proc.dbLimit, p.limit);
    writeSwitch (*proc.dbSideChain, p.sideChain);
    writeSwitch (*proc.dbHPEnable, false);
    writeContinuous (*proc.dbHP, 0.0f);
}
