#include "AudioThreadProbe.h"
#include "Checks.h"
#include "HostedAudio.h"
#include "HostedParameters.h"
#include "StackReport.h"

#include <functional>
#include <thread>

// After prepareToPlay the audio thread must neither allocate nor lock. An audio thread runs the
// hosted instance with the probe armed only while processBlock runs; whatever it counts happened
// inside the host's call into the plug-in. The stacks tell whether the plug-in's binary was
// involved at all (the validator's own hosting code also runs inside that call), and if so
// whether Brisca's code or JUCE's wrapper made the call.
namespace
{
constexpr int blocks = 600;
constexpr int blockSize = 512;

struct Scenario
{
    const char* name;
    const char* what;
    // Runs on the audio thread before each block, outside the armed window: what a host does
    // between blocks (automation reaches the plug-in inside the next processBlock).
    std::function<void (int block, HostedParameters&, juce::Random&)> betweenBlocks;
    juce::AudioChannelSet sideChain = juce::AudioChannelSet::stereo();
    // Stacks through these calls are the plug-in's documented behaviour, reported but not
    // failed (the inlined helper is named only where debug information says so).
    juce::StringArray byDesign = {};
};

void runScenario (Session& s, const Scenario& scenario)
{
    const auto name = juce::String ("realtime.") + scenario.name;
    s.report.begin (name);
    auto plugin = s.newInstance (name);
    if (plugin == nullptr)
        return;
    if (scenario.sideChain != juce::AudioChannelSet::stereo())
    {
        auto layout = plugin->getBusesLayout();
        layout.inputBuses.getReference (1) = scenario.sideChain;
        if (! plugin->setBusesLayout (layout))
        {
            s.report.fail (name, "the side-chain layout " + scenario.sideChain.getDescription() + " is refused");
            return;
        }
    }
    HostedParameters params (*plugin, s.loader.isVst3());
    plugin->prepareToPlay (48000.0, blockSize);
    HostedAudio audio (*plugin, s.seed, blockSize);
    juce::MidiBuffer midi;
    midi.ensureSize (256);
    juce::AudioBuffer<float> view (audio.data().getArrayOfWritePointers(), audio.channels(), blockSize);
    bool finite = true;

    probe::reset();
    std::thread audioThread ([&] {
        for (int b = 0; b < blocks; ++b)
        {
            if (scenario.betweenBlocks)
                scenario.betweenBlocks (b, params, audio.random);
            audio.fillNoise (blockSize);
            midi.clear();
            {
                probe::Armed armed;
                plugin->processBlock (view, midi);
            }
            finite = finite && audio.outputFinite (blockSize);
        }
    });
    audioThread.join();
    const auto counts = probe::counts();
    const auto findings = explainStacks (probe::stacks(), s.loader.bundle());
    plugin->releaseResources();

    // Heap calls fail wherever they come from inside the plug-in. Locks fail in Brisca's code;
    // the ones JUCE's wrappers take by design (the processor's callback lock around each block,
    // a parameter's listener lock when host automation is applied) are listed and, unless
    // --strict, tolerated: no plug-in built on JUCE 7 can avoid them.
    juce::StringArray problems;
    if (! finite)
        problems.add ("non-finite output");
    // One more is tolerated: glibc gives a dlopen'ed library's thread-local storage to a thread
    // on its first use there, with malloc (__tls_get_addr), once per thread and library.
    auto verdictOf = [&] (const Finding& f) -> juce::String {
        if (! f.inPlugin)
            return "outside the plug-in";
        for (const auto& marker : scenario.byDesign)
            if (f.path.contains (marker))
                return "by design";
        if (! s.strict && f.call == probe::Call::mutexLock && ! f.ourCode)
            return "tolerated";
        if (! s.strict && f.call != probe::Call::mutexLock && f.path.contains ("__tls_get_addr"))
            return "tolerated, first use of thread-local storage";
        return "FAIL";
    };
    for (const auto& f : findings)
        if (verdictOf (f) == "FAIL")
            problems.addIfNotAlreadyThere (juce::String (probe::nameOf (f.call)) + " in " + originOf (f) + " (" + f.where + ")");

    s.report.verdict (name, problems);
    s.report.note (juce::String (scenario.what) + ": " + juce::String (blocks) + " blocks of " + juce::String (blockSize)
                   + " at 48 kHz; inside processBlock " + juce::String (counts.heap()) + " heap calls and "
                   + juce::String (counts.locks()) + " mutex locks, host side included; the first "
                   + juce::String (probe::maxKeptStacks) + " call stacks:");
    for (const auto& f : findings)
        s.report.note ("  " + juce::String (f.count) + "x [" + originOf (f) + ", " + verdictOf (f) + "] " + f.path);
}
} // namespace

void runRealtimeChecks (Session& s)
{
    if (! probe::available())
    {
        s.report.skip ("realtime", "this is a sanitizer build: the sanitizer owns malloc and the locks, so nothing is counted");
        return;
    }
    probe::prepare();

    runScenario (s, { "steady", "steady processing, settings unchanged", {} });

    runScenario (s, { "automation", "every parameter automated by the host between blocks",
                      [] (int, HostedParameters& params, juce::Random& random) { params.randomise (random); } });

    if (! s.loader.isVst3())
    {
        s.report.skip ("realtime.side-chain-switch-off",
                       "an LV2 plug-in's side-chain ports are always connected, so the switch-off never happens");
        return;
    }
    // No key input: the plug-in turns dbSideChain off itself, on the audio thread, through the
    // parameter's notifying setter. The host switches it back on now and then.
    runScenario (s, { "side-chain-switch-off", "side chain disabled while dbSideChain is switched on every 50 blocks",
                      [] (int block, HostedParameters& params, juce::Random&) {
                          if (block % 50 == 0)
                              if (auto* p = params.find ("dbSideChain"))
                                  p->setValue (1.0f);
                      },
                      juce::AudioChannelSet::disabled(),
                      { "setAndNotify", "sendValueChangedMessageToListeners <- BriscaAudioProcessor::processBlock" } });
}
