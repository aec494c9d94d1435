#pragma once

#include "CCompress.h"

#include <cmath>
#include <ostream>
#include <string>

// One Compress call described by name instead of by eighteen positional arguments. The
// defaults are a plain stereo frame at 48 kHz that compresses nothing.
struct Frame
{
    double input1 = 0.0, input2 = 0.0;
    double sideChain1 = 0.0, sideChain2 = 0.0;
    double rmsAmount = 0.0;
    double sampleRate = 48000.0;
    double inputGain = 1.0, outputGain = 1.0;
    double thresholdDb = 0.0, ratio = 4.0;
    double attackMs = 10.0, releaseMs = 100.0, kneeDb = 0.0;
    double link = 2.0;
    bool mono = false, useSideChain = false;
    double minGainDb = -160.0;

    // Sets both inputs to the same magnitude of the given level.
    Frame& at (double levelDb)
    {
        input1 = input2 = amplitude (levelDb);
        return *this;
    }

    static double amplitude (double levelDb) { return std::pow (10.0, levelDb / 20.0); }
};

struct Outputs
{
    double out1, out2;
};

// Sets the members the signal chain sets before every call, then calls Compress.
inline Outputs compress (CCompress& c, const Frame& f, Outputs start = { 0.0, 0.0 })
{
    c.minGainDb = f.minGainDb;
    c.stereoLink = f.link;
    c.Compress (f.input1, f.input2, f.sideChain1, f.sideChain2, f.rmsAmount, &start.out1, &start.out2,
                f.sampleRate, f.inputGain, f.outputGain, f.thresholdDb, f.ratio, f.attackMs, f.releaseMs,
                f.kneeDb, f.link, f.mono, f.useSideChain);
    return start;
}

inline Outputs compressRepeatedly (CCompress& c, const Frame& f, int calls)
{
    Outputs o {};
    for (int i = 0; i < calls; ++i)
        o = compress (c, f);
    return o;
}

// A freshly prepared engine: 10 ms rings (480 samples at 48 kHz) and cleared state.
struct PreparedCompressor
{
    CCompress engine;
    explicit PreparedCompressor (double sampleRate = 48000.0) { engine.Reset (sampleRate); }
};

// A readable GoogleTest parameter name from a case description: letters and digits only.
inline std::string caseName (const char* description)
{
    std::string name;
    bool upper = true;
    for (const char* p = description; *p != 0; ++p)
    {
        const char ch = *p;
        const bool alnum = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9');
        if (! alnum)
        {
            upper = true;
            continue;
        }
        name += (upper && ch >= 'a' && ch <= 'z') ? static_cast<char> (ch - 'a' + 'A') : ch;
        upper = false;
    }
    return name;
}
