#include "Checks.h"
#include "HostedAudio.h"
#include "HostedParameters.h"
#include "StateEnvelope.h"

// Saved state through the host: a save restored into a fresh instance saves the same bytes, and
// blocks that are garbage, cut short or from another plug-in change nothing.
namespace
{
constexpr int blockSize = 512;

// One block through the instance: JUCE's LV2 host learns parameter values from the plug-in only
// while it runs.
void settle (juce::AudioPluginInstance& plugin)
{
    HostedAudio audio (plugin, 1, blockSize);
    audio.fillNoise (blockSize);
    audio.process (blockSize);
}

juce::MemoryBlock save (juce::AudioPluginInstance& plugin)
{
    juce::MemoryBlock block;
    plugin.getStateInformation (block);
    return block;
}

void restore (juce::AudioPluginInstance& plugin, const juce::MemoryBlock& block)
{
    plugin.setStateInformation (block.getData(), static_cast<int> (block.getSize()));
}

juce::StringArray changedParameters (const std::vector<float>& before, const std::vector<float>& after)
{
    juce::StringArray changed;
    for (size_t i = 0; i < before.size(); ++i)
        if (before[i] != after[i])
            changed.add (juce::String (expectedParameters[i].id) + " " + juce::String (before[i], 3) + " -> " + juce::String (after[i], 3));
    return changed;
}

juce::MemoryBlock bytes (const char* text) { return juce::MemoryBlock (text, std::strlen (text)); }

// "VC2!", the given length field, the text and a zero byte: the plug-in's own framing.
juce::MemoryBlock framed (const juce::String& text, juce::int32 lengthField)
{
    juce::MemoryOutputStream out;
    out.write ("VC2!", 4);
    out.writeInt (lengthField);
    out.write (text.toRawUTF8(), text.getNumBytesAsUTF8());
    out.writeByte (0);
    return out.getMemoryBlock();
}

juce::MemoryBlock framed (const juce::String& text) { return framed (text, (juce::int32) text.getNumBytesAsUTF8()); }

juce::MemoryBlock randomBytes (juce::Random& random, int size, const char* prefix = "")
{
    juce::MemoryBlock block (bytes (prefix));
    while ((int) block.getSize() < size)
    {
        const auto b = static_cast<char> (random.nextInt (256));
        block.append (&b, 1);
    }
    return block;
}

juce::MemoryBlock cut (const juce::MemoryBlock& block, size_t size) { return juce::MemoryBlock (block.getData(), juce::jmin (size, block.getSize())); }

void checkRoundTrip (Session& s)
{
    const juce::String name = "state.round-trip";
    s.report.begin (name);
    auto first = s.newInstance (name);
    auto second = s.newInstance (name);
    if (first == nullptr || second == nullptr)
        return;
    juce::Random random (s.seed);
    first->prepareToPlay (48000.0, blockSize);
    HostedParameters firstParams (*first, s.loader.isVst3());
    firstParams.randomise (random);
    settle (*first);
    const auto saved = save (*first);
    // The host's view of a value it set may differ in the last bit from the plug-in's value on the
    // 0.001 grid; reading the state back into the first instance makes the host see the latter.
    restore (*first, saved);
    settle (*first);

    // A project being opened: the state arrives before the first prepareToPlay.
    restore (*second, saved);
    second->prepareToPlay (48000.0, blockSize);
    settle (*second);
    const auto savedAgain = save (*second);

    juce::StringArray problems;
    if (saved != savedAgain)
    {
        const StateEnvelope a (s.loader.isVst3(), saved), b (s.loader.isVst3(), savedAgain);
        problems.add ("the second save differs from the first (" + juce::String (saved.getSize()) + " vs "
                      + juce::String (savedAgain.getSize()) + " bytes"
                      + (a.pluginBlock() == b.pluginBlock() ? ", only outside the plug-in's own block)" : ", inside the plug-in's own block)"));
    }
    const auto differences = changedParameters (firstParams.values(), HostedParameters (*second, s.loader.isVst3()).values());
    if (! differences.isEmpty())
        problems.add ("restored values differ: " + differences.joinIntoString (", "));
    s.report.verdict (name, problems);
}

struct BadBlock
{
    juce::String name;
    juce::MemoryBlock bytes;
    bool forThePlugin; // wrapped in the host's state so it reaches the plug-in; else given to the host as is
};

std::vector<BadBlock> badBlocks (const juce::MemoryBlock& ours, const juce::MemoryBlock& hostState, juce::Random& random)
{
    const auto text = juce::String::fromUTF8 (static_cast<const char*> (ours.getData()) + 8, (int) ours.getSize() - 9);
    std::vector<BadBlock> list {
        { "random bytes", randomBytes (random, 300), true },
        { "random bytes after the magic", randomBytes (random, 300, "VC2!"), true },
        { "empty block", {}, true },
        { "magic only", bytes ("VC2!"), true },
        { "length far beyond the block", framed (text, 0x7fffffff), true },
        { "negative length", framed (text, -5), true },
        { "zero length", framed (text, 0), true },
        { "empty text", framed ({}), true },
        { "text that is not XML", framed ("dbInput=0.1 dbWet=0.2"), true },
        { "cut after the header", cut (ours, 8), true },
        { "cut after 20 bytes", cut (ours, 20), true },
        { "cut in half", cut (ours, ours.getSize() / 2), true },
        { "cut before the closing tag", cut (ours, ours.getSize() - 4), true },
        { "another plug-in's XML state", framed ("<?xml version=\"1.0\" encoding=\"UTF-8\"?> <PARAMETERS><PARAM id=\"dbInput\" value=\"0.1\"/>"
                                                 "<PARAM id=\"dbWet\" value=\"0.2\"/></PARAMETERS>"), true },
        { "our element inside a foreign one", framed ("<PROJECT><MYPLUGINSETTINGS dbInput=\"0.1\" dbWet=\"0.2\"/></PROJECT>"), true },
        { "a VST2 bank chunk", randomBytes (random, 200, "CcnK\0\0\0\xb8" "FBCh"), true },
        { "host: random bytes", randomBytes (random, 500), false },
        { "host: empty", {}, false },
        { "host: state cut in half", cut (hostState, hostState.getSize() / 2), false },
    };
    return list;
}

void checkBadBlocks (Session& s)
{
    const juce::String name = "state.bad-blocks";
    s.report.begin (name);
    auto plugin = s.newInstance (name);
    if (plugin == nullptr)
        return;
    juce::Random random (s.seed);
    plugin->prepareToPlay (48000.0, blockSize);
    HostedParameters params (*plugin, s.loader.isVst3());
    params.randomise (random);
    settle (*plugin);
    const auto good = save (*plugin);
    restore (*plugin, good);
    settle (*plugin);
    const StateEnvelope envelope (s.loader.isVst3(), good);
    if (! envelope.isValid())
    {
        s.report.fail (name, "cannot find the plug-in's block in the host's saved state");
        return;
    }
    const auto before = params.values();
    const auto ours = envelope.pluginBlock();

    juce::StringArray problems;
    for (const auto& bad : badBlocks (ours, good, random))
    {
        s.report.begin (name + " (" + bad.name + ")");
        restore (*plugin, bad.forThePlugin ? envelope.wrap (bad.bytes) : bad.bytes);
        settle (*plugin);
        const auto changed = changedParameters (before, params.values());
        const auto after = StateEnvelope (s.loader.isVst3(), save (*plugin)).pluginBlock();
        if (! changed.isEmpty())
            problems.add (bad.name + " changed " + changed.joinIntoString (", "));
        else if (after != ours)
            problems.add (bad.name + " changed the saved block");
        if (! changed.isEmpty() || after != ours)
        {
            restore (*plugin, good);
            settle (*plugin);
        }
    }
    plugin->releaseResources();
    s.report.verdict (name, problems);
}
} // namespace

void runStateChecks (Session& s)
{
    checkRoundTrip (s);
    checkBadBlocks (s);
}
