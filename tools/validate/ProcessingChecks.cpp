#include "Checks.h"
#include "HostedAudio.h"
#include "HostedParameters.h"
#include "StateEnvelope.h"

#include <cmath>
#include <limits>

// Sample rates, block sizes, prepare/release cycles, silence and hostile input through the host.
namespace
{
constexpr double rates[] = { 22050.0, 44100.0, 48000.0, 88200.0, 96000.0, 192000.0 };
constexpr int fixedBlocks[] = { 1, 7, 64, 512, 4096 };
constexpr int preparedBlock = 512;
constexpr int largestBlock = 4096;

void setOurs (juce::AudioPluginInstance& plugin, bool vst3, const char* id, float value)
{
    if (auto* p = HostedParameters (plugin, vst3).find (id))
        p->setValue (value);
}

// Every rate with every block size up to the prepared maximum, then a random size per call
// under random settings: the output stays finite throughout.
void checkRates (Session& s)
{
    for (const double rate : rates)
    {
        const auto name = "processing.rate-" + juce::String (static_cast<int> (rate));
        s.report.begin (name);
        auto plugin = s.newInstance (name, rate, largestBlock);
        if (plugin == nullptr)
            continue;
        plugin->prepareToPlay (rate, largestBlock);
        HostedAudio audio (*plugin, s.seed + static_cast<int> (rate));
        juce::StringArray problems;
        for (const int block : fixedBlocks)
            if (! processNoise (audio, block == 1 ? 0.05 : 0.2, rate, block))
                problems.add ("non-finite output with blocks of " + juce::String (block));

        HostedParameters params (*plugin, s.loader.isVst3());
        params.randomise (audio.random);
        setOurs (*plugin, s.loader.isVst3(), "dbEnable", 1.0f);
        if (! processNoise (audio, 0.5, rate, 0, largestBlock))
            problems.add ("non-finite output with random block sizes and random settings");
        plugin->releaseResources();
        s.report.verdict (name, problems);
    }
}

// With no key input connected the plug-in switches dbSideChain off itself, on the audio thread.
// Its wrapper reports the change back with the block (VST3 output parameter changes), but JUCE's
// VST3 host only forwards those to the plug-in's controller and never updates its own copy of the
// value, so the plug-in's saved state is where the switch is seen.
void checkSideChainSwitchOff (Session& s)
{
    const juce::String name = "processing.side-chain-switch-off";
    if (! s.loader.isVst3())
    {
        s.report.skip (name, "an LV2 plug-in's side-chain ports are always connected, so the switch-off never happens");
        return;
    }
    s.report.begin (name);
    auto plugin = s.newInstance (name);
    if (plugin == nullptr)
        return;
    auto layout = plugin->getBusesLayout();
    layout.inputBuses.getReference (1) = juce::AudioChannelSet::disabled();
    auto* sideChain = HostedParameters (*plugin, true).find ("dbSideChain");
    if (! plugin->setBusesLayout (layout) || sideChain == nullptr)
    {
        s.report.fail (name, "cannot disable the side-chain bus or find dbSideChain");
        return;
    }
    sideChain->setValue (1.0f);
    plugin->prepareToPlay (48000.0, preparedBlock);
    HostedAudio audio (*plugin, s.seed, preparedBlock);
    juce::StringArray problems;
    if (! processNoise (audio, 0.05, 48000.0, preparedBlock))
        problems.add ("non-finite output");
    juce::MemoryBlock saved;
    plugin->getStateInformation (saved);
    const auto block = StateEnvelope (true, saved).pluginBlock();
    const auto xml = juce::AudioProcessor::getXmlFromBinary (block.getData(), (int) block.getSize());
    if (xml == nullptr || xml->getStringAttribute ("dbSideChain") != "0")
        problems.add ("dbSideChain is still on in the saved state after " + juce::String (48000 / 20 / preparedBlock + 1)
                      + " blocks without a key input");
    plugin->releaseResources();
    s.report.verdict (name, problems);
}

// Blocks larger than the size given to prepareToPlay, which a host should not send but some do:
// the plug-in must cope (JUCE's own contract says to expect it). Run last in the group, because
// a format wrapper that fails here tends to corrupt memory.
void checkOversizedBlocks (Session& s)
{
    const juce::String name = "processing.oversized-blocks";
    s.report.begin (name);
    juce::StringArray problems;
    for (const double rate : { 44100.0, 192000.0 })
    {
        auto plugin = s.newInstance (name, rate, preparedBlock);
        if (plugin == nullptr)
            return;
        plugin->prepareToPlay (rate, preparedBlock);
        HostedAudio audio (*plugin, s.seed);
        if (! processNoise (audio, 0.2, rate, largestBlock))
            problems.add ("non-finite output with blocks of 4096 after preparing for 512 at " + juce::String (rate) + " Hz");
        if (! processNoise (audio, 0.5, rate, 0, largestBlock))
            problems.add ("non-finite output with random blocks up to 4096 after preparing for 512 at " + juce::String (rate) + " Hz");
        plugin->releaseResources();
    }
    s.report.verdict (name, problems);
}

// One signal, cut into blocks of different sizes: the output is the same to the bit, since the
// plug-in reads its settings once per block and carries all state across blocks.
void checkBlockIndependence (Session& s)
{
    const juce::String name = "processing.block-independence";
    s.report.begin (name);
    auto plugin = s.newInstance (name);
    if (plugin == nullptr)
        return;
    // Hard compression with the limiter, so the detectors and the gain move all the time.
    for (auto [id, value] : { std::pair { "dbThreshold", 0.1f }, { "dbRatio", 0.8f }, { "dbAttack", 0.01f },
                              { "dbRelease", 0.1f }, { "dbRMS", 0.5f }, { "dbLimit", 1.0f }, { "dbWide", 0.7f } })
        setOurs (*plugin, s.loader.isVst3(), id, value);

    const int length = 48000;
    const int channels = juce::jmax (plugin->getTotalNumInputChannels(), plugin->getTotalNumOutputChannels());
    juce::AudioBuffer<float> input (channels, length);
    juce::Random random (s.seed);
    for (int ch = 0; ch < channels; ++ch)
        for (int i = 0; i < length; ++i)
            input.setSample (ch, i, (0.1f + 0.9f * static_cast<float> ((i / 4000) % 3) / 2.0f) * (2.0f * random.nextFloat() - 1.0f));

    auto render = [&] (int blockSize) {
        plugin->releaseResources();
        plugin->prepareToPlay (48000.0, largestBlock);
        HostedAudio audio (*plugin, s.seed);
        juce::AudioBuffer<float> output (plugin->getTotalNumOutputChannels(), length);
        for (int start = 0; start < length;)
        {
            const int n = juce::jmin (length - start, blockSize > 0 ? blockSize : 1 + audio.random.nextInt (largestBlock));
            for (int ch = 0; ch < channels; ++ch)
                audio.data().copyFrom (ch, 0, input, ch, start, n);
            audio.process (n);
            for (int ch = 0; ch < output.getNumChannels(); ++ch)
                output.copyFrom (ch, start, audio.data(), ch, 0, n);
            start += n;
        }
        return output;
    };

    const auto reference = render (preparedBlock);
    juce::StringArray problems;
    for (const int block : { 1, 7, 64, 4096, 0 })
    {
        const auto output = render (block);
        for (int ch = 0; ch < output.getNumChannels() && problems.size() < 6; ++ch)
            for (int i = 0; i < length; ++i)
                if (output.getSample (ch, i) != reference.getSample (ch, i))
                {
                    problems.add ((block > 0 ? "blocks of " + juce::String (block) : juce::String ("random blocks"))
                                  + " differ from blocks of 512 at channel " + juce::String (ch) + " sample " + juce::String (i)
                                  + " (" + juce::String (output.getSample (ch, i), 9) + " vs " + juce::String (reference.getSample (ch, i), 9) + ")");
                    break;
                }
    }
    plugin->releaseResources();
    s.report.verdict (name, problems);
}

// Repeated prepare/release at changing rates and block sizes: every prepare starts clean (silence
// in, silence out) and the audio stays finite.
void checkPrepareRelease (Session& s)
{
    const juce::String name = "processing.prepare-release";
    s.report.begin (name);
    auto plugin = s.newInstance (name);
    if (plugin == nullptr)
        return;
    HostedAudio audio (*plugin, s.seed);
    juce::StringArray problems;
    for (int cycle = 0; cycle < 25 && problems.size() < 4; ++cycle)
    {
        const double rate = rates[audio.random.nextInt (juce::numElementsInArray (rates))];
        const int block = 1 + audio.random.nextInt (largestBlock);
        plugin->prepareToPlay (rate, block);
        audio.fillSilence (block);
        audio.process (block);
        if (! audio.outputSilent (block))
            problems.add ("cycle " + juce::String (cycle) + ": silence after prepare gives sound (state not cleared)");
        if (! processNoise (audio, 0.05, rate, block))
            problems.add ("cycle " + juce::String (cycle) + ": non-finite output at " + juce::String (rate) + " Hz");
        plugin->releaseResources();
    }
    s.report.verdict (name, problems);
}

// With the default program silence in gives exact silence out, from the start and again within
// a second after loud audio stops (no denormal tail, no stuck state).
void checkSilence (Session& s)
{
    const juce::String name = "processing.silence";
    s.report.begin (name);
    auto plugin = s.newInstance (name);
    if (plugin == nullptr)
        return;
    plugin->prepareToPlay (48000.0, preparedBlock);
    HostedAudio audio (*plugin, s.seed);
    juce::StringArray problems;
    for (int b = 0; b < 100; ++b)
    {
        audio.fillSilence (preparedBlock);
        audio.process (preparedBlock);
        if (! audio.outputSilent (preparedBlock))
        {
            problems.add ("silence in gives sound out at block " + juce::String (b) + " (peak " + juce::String (audio.outputPeak (preparedBlock)) + ")");
            break;
        }
    }
    processNoise (audio, 0.5, 48000.0, preparedBlock);
    int blocksUntilSilent = -1;
    for (int b = 0; b < 200; ++b)
    {
        audio.fillSilence (preparedBlock);
        audio.process (preparedBlock);
        if (audio.outputSilent (preparedBlock))
        {
            if (blocksUntilSilent < 0)
                blocksUntilSilent = b;
        }
        else if (blocksUntilSilent >= 0)
        {
            problems.add ("sound again " + juce::String (b) + " blocks after the tail had ended");
            break;
        }
    }
    if (blocksUntilSilent < 0 || blocksUntilSilent * preparedBlock > 48000)
        problems.add ("after loud audio, silence in does not give exact silence out within 1 s");
    plugin->releaseResources();
    s.report.verdict (name, problems);
}

// NaN, infinities and huge values on the main input and on the side chain: the output stays
// finite, and the plug-in is back to normal afterwards.
void checkBadInput (Session& s)
{
    const juce::String name = "processing.bad-input";
    s.report.begin (name);
    auto plugin = s.newInstance (name);
    if (plugin == nullptr)
        return;
    setOurs (*plugin, s.loader.isVst3(), "dbLimit", 1.0f);
    plugin->prepareToPlay (48000.0, preparedBlock);
    HostedAudio audio (*plugin, s.seed);
    const float values[] = { std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                             -std::numeric_limits<float>::infinity(), 1.0e30f, -1.0e30f, 1.0e-40f };
    juce::StringArray problems;
    for (const bool sideChainOn : { false, true })
    {
        setOurs (*plugin, s.loader.isVst3(), "dbSideChain", sideChainOn ? 1.0f : 0.0f);
        for (const float v : values)
            for (const bool onMain : { true, false })
            {
                audio.fillNoise (preparedBlock);
                audio.fillConstant (preparedBlock / 4, v, onMain, ! onMain);
                audio.process (preparedBlock);
                bool finite = audio.outputFinite (preparedBlock);
                finite = processNoise (audio, 0.05, 48000.0, preparedBlock) && finite;
                if (! finite)
                    problems.add (juce::String (v) + (onMain ? " on the main input" : " on the side chain")
                                  + (sideChainOn ? " (side chain on)" : "") + " gives non-finite output");
            }
    }
    plugin->releaseResources();
    s.report.verdict (name, problems);
}
} // namespace

void runProcessingChecks (Session& s)
{
    checkRates (s);
    checkBlockIndependence (s);
    checkPrepareRelease (s);
    checkSilence (s);
    checkBadInput (s);
    checkSideChainSwitchOff (s);
    checkOversizedBlocks (s);
}
