#pragma once

#include <cmath>

// The sixteen parameters as the host sees them (index order), with their names and defaults,
// and the plain-unit formulas shared by the read-outs, the numeric entry and the tools.
namespace brisca
{
enum class ParamKind { toggle, continuous };

struct ParamInfo
{
    const char* id;
    const char* name;
    ParamKind kind;
    float defaultValue; // normalised, or 0/1 for switches
};

inline constexpr ParamInfo parameterTable[] = {
    { "dbEnable",    "Enable",     ParamKind::toggle,     1.0f },
    { "dbSideChain", "Side Chain", ParamKind::toggle,     0.0f },
    { "dbHPEnable",  "HP Enable",  ParamKind::toggle,     0.0f },
    { "dbInput",     "Input",      ParamKind::continuous, 0.5f },
    { "dbRMS",       "RMS-PEAK",   ParamKind::continuous, 0.0f },
    { "dbWide",      "WIDE",       ParamKind::continuous, 0.0f },
    { "dbHP",        "HP",         ParamKind::continuous, 0.0f },
    { "dbKnee",      "Knee",       ParamKind::continuous, 0.0f },
    { "dbRatio",     "Ratio",      ParamKind::continuous, 0.47368422f },
    { "dbThreshold", "Threshold",  ParamKind::continuous, 0.5011872f },
    { "dbAttack",    "Attack",     ParamKind::continuous, 0.0198f },
    { "dbRelease",   "Release",    ParamKind::continuous, 0.26663333f },
    { "dbOutput",    "Output",     ParamKind::continuous, 0.5f },
    { "dbLimit",     "Limit",      ParamKind::toggle,     0.0f },
    { "dbMSInput",   "M/S Input",  ParamKind::toggle,     0.0f },
    { "dbWet",       "Wet",        ParamKind::continuous, 1.0f },
};
inline constexpr int numParameters = 16;

// A switch counts as on from 0.5 up; every reader uses this same test.
inline bool isOn (float value) noexcept { return value >= 0.5f; }

// Plain unit of a continuous parameter: the quantity the normalised value stands for, with the
// inverse used to turn a typed plain value back into a normalised one.
struct PlainUnit
{
    const char* id;
    const char* unit;  // short unit text, empty for pure numbers
    double minPlain;
    double maxPlain;
    double (*toPlain) (double v);
    double (*fromPlain) (double x);
};

inline constexpr PlainUnit plainUnits[] = {
    { "dbInput",     "dB", -20.0,   20.0, [] (double v) { return 40.0 * v - 20.0; },   [] (double x) { return (x + 20.0) / 40.0; } },
    { "dbRMS",       "",     0.0,  100.0, [] (double v) { return 100.0 * v; },         [] (double x) { return x / 100.0; } },
    { "dbWide",      "",     0.0,  100.0, [] (double v) { return 100.0 * v; },         [] (double x) { return x / 100.0; } },
    { "dbHP",        "Hz",  50.0, 2000.0, [] (double v) { return 1950.0 * v + 50.0; }, [] (double x) { return (x - 50.0) / 1950.0; } },
    { "dbKnee",      "dB",   0.0,   48.0, [] (double v) { return 48.0 * v; },          [] (double x) { return x / 48.0; } },
    { "dbRatio",     "",     0.5,   20.0, [] (double v) { return 19.5 * v + 0.5; },    [] (double x) { return (x - 0.5) / 19.5; } },
    { "dbThreshold", "dB", -40.0,    0.0, [] (double v) { return 20.0 * std::log10 (0.99 * v + 0.01); },
                                          [] (double x) { return (std::pow (10.0, x / 20.0) - 0.01) / 0.99; } },
    { "dbAttack",    "ms",   0.0,  100.0, [] (double v) { return 100.0 * v; },         [] (double x) { return x / 100.0; } },
    { "dbRelease",   "ms",   0.0,  300.0, [] (double v) { return 300.0 * v; },         [] (double x) { return x / 300.0; } },
    { "dbOutput",    "dB", -20.0,   20.0, [] (double v) { return 40.0 * v - 20.0; },   [] (double x) { return (x + 20.0) / 40.0; } },
    { "dbWet",       "",     0.0,  100.0, [] (double v) { return 100.0 * v; },         [] (double x) { return x / 100.0; } },
};
} // namespace brisca
