#include "Options.h"

namespace
{
// An assignment starts with a parameter-like identifier and '='; anything else without a
// leading dash is the input file.
bool looksLikeAssignment (const juce::String& argument)
{
    const int equals = argument.indexOfChar ('=');
    if (equals <= 0)
        return false;
    const auto id = argument.substring (0, equals);
    return juce::CharacterFunctions::isLetter (id[0]) && id.containsOnly ("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_");
}

bool parseBlockSize (const juce::String& text, int& result)
{
    if (text.isEmpty() || ! text.containsOnly ("0123456789") || text.length() > 6)
        return false;
    result = text.getIntValue();
    return result >= 1 && result <= 65536;
}
} // namespace

ParsedOptions parseOptions (const juce::StringArray& arguments)
{
    ParsedOptions parsed;
    auto& o = parsed.options;
    auto fail = [&parsed] (const juce::String& message) {
        parsed.error = message;
        return parsed;
    };

    for (int i = 0; i < arguments.size(); ++i)
    {
        auto argument = arguments[i];
        if (argument == "-h" || argument == "--help") { o.help = true; continue; }
        if (argument == "--float") { o.floatOutput = true; continue; }
        if (argument == "--list") { o.list = true; continue; }
        if (argument == "-q" || argument == "--quiet") { o.quiet = true; continue; }

        if (argument.startsWith ("-") && argument.length() > 1)
        {
            // Options with a value take it either as the next argument or after '='.
            auto name = argument.upToFirstOccurrenceOf ("=", false, false);
            juce::String value;
            if (argument.containsChar ('='))
                value = argument.fromFirstOccurrenceOf ("=", false, false);
            else if (i + 1 < arguments.size())
                value = arguments[++i];
            else
                return fail (name + " needs a value");

            if (value.isEmpty())
                return fail (name + " needs a value");

            if (name == "-o" || name == "--output") o.outputPath = value;
            else if (name == "--sidechain") o.sideChainPath = value;
            else if (name == "--program") o.programText = value;
            else if (name == "--state-in") o.stateInPath = value;
            else if (name == "--state-out") o.stateOutPath = value;
            else if (name == "--plot") o.plotPath = value;
            else if (name == "--block")
            {
                if (! parseBlockSize (value, o.blockSize))
                    return fail ("--block takes a whole number of samples from 1 to 65536, not '" + value + "'");
            }
            else
                return fail ("unknown option " + name + " (see --help)");
            continue;
        }

        if (looksLikeAssignment (argument))
            o.assignments.add (argument);
        else if (o.inputPath.isEmpty())
            o.inputPath = argument;
        else
            return fail ("more than one input file: '" + o.inputPath + "' and '" + argument + "'");
    }
    return parsed;
}

juce::String usageText()
{
    return R"(Usage: brisca-render [INPUT] [options] [ID=VALUE ...]

Runs the Brisca compressor over an audio file (WAV, FLAC or AIFF; mono or stereo; any
sample rate). Without INPUT it renders a built-in demo of drums and bass: it writes the dry
demo to demo-in.wav and the result to demo-out.wav next to it.

Options:
  -o, --output FILE     output file (default: INPUT-brisca.EXT next to the input, or
                        demo-out.wav in the current folder); the format follows its extension
                        and keeps the input's bit depth where the format allows
  --float               write a 32-bit float WAV
  --sidechain FILE      side-chain input (mono or stereo, same sample rate; a shorter file is
                        padded with silence). Switch the detector to it with dbSideChain=on
  --program NAME|INDEX  factory program by name (any letter case) or index 0..12
  --state-in FILE       apply a saved state block (as a host stores it)
  --state-out FILE      save the settings as a state block
  --block N             block size in samples (default 512)
  --plot FILE.png       draw input, output and gain reduction
  --list                print the parameters, their current values and the programs, and stop
  -q, --quiet           no progress bar
  -h, --help            this text

Settings are applied in this order: program, state, then the assignments from left to right.
An assignment is ID=VALUE in the parameter's own unit, with the unit optional:
  dbThreshold=-18dB  dbRatio=4  dbAttack=10ms  dbRelease=120ms  dbHP=300Hz  dbWet=80
or normalised 0..1 with the suffix n:  dbWet=0.5n
Switches take on/off, 1/0 or true/false:  dbLimit=on  dbSideChain=1
In demo mode without --program or --state-in, the demo's own settings come first.

Examples:
  brisca-render --plot demo.png
  brisca-render song.wav --program "Master Loud" -o song-loud.wav
  brisca-render bass.flac --sidechain kick.wav dbSideChain=on dbThreshold=-30dB dbRatio=8
)";
}
