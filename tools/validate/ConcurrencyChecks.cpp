#include "Checks.h"
#include "HostedAudio.h"
#include "HostedParameters.h"

#include <juce_events/juce_events.h>

#include <atomic>
#include <thread>

// What a busy session does to a plug-in at once: the audio thread processes while two automation
// threads write every parameter and the message thread selects programs and saves and restores
// the state. The audio must stay finite and nothing may crash or hang. Program and state calls
// stay on the message thread, where the formats require them (JUCE's VST3 host locks the
// message manager for them); the message loop is pumped between calls so the hosts' timers and
// asynchronous updates run too.
namespace
{
constexpr int blockSize = 512;

float automationValue (juce::Random& random)
{
    switch (random.nextInt (10))
    {
        case 0: return 0.0f;
        case 1: return 1.0f;
        default: return random.nextFloat();
    }
}
} // namespace

void runConcurrencyChecks (Session& s)
{
    const juce::String name = "concurrency";
    s.report.begin (name);
    auto plugin = s.newInstance (name);
    if (plugin == nullptr)
        return;
    plugin->prepareToPlay (48000.0, blockSize);
    const HostedParameters params (*plugin, s.loader.isVst3());
    const int programs = plugin->getNumPrograms();

    // States to restore, saved from a few programs before the threads start.
    std::vector<juce::MemoryBlock> states;
    for (int i = 0; i < 4; ++i)
    {
        if (programs > 0)
            plugin->setCurrentProgram ((i * 5) % programs);
        states.emplace_back();
        plugin->getStateInformation (states.back());
    }

    std::atomic<bool> stop { false }, nonFinite { false };
    std::atomic<long> blocks { 0 }, writes { 0 };
    HostedAudio audio (*plugin, s.seed, blockSize);

    std::thread audioThread ([&] {
        while (! stop.load())
        {
            audio.fillNoise (blockSize);
            audio.process (blockSize);
            if (! audio.outputFinite (blockSize))
                nonFinite = true;
            ++blocks;
        }
    });
    std::vector<std::thread> automation;
    for (int t = 0; t < 2; ++t)
        automation.emplace_back ([&, t] {
            juce::Random random (s.seed * 31 + t);
            while (! stop.load())
            {
                for (auto* p : params.all())
                    p->setValue (automationValue (random));
                writes += params.all().size();
                std::this_thread::yield();
            }
        });

    long programChanges = 0, saves = 0, restores = 0;
    juce::Random random (s.seed);
    const auto end = juce::Time::getMillisecondCounterHiRes() + s.concurrencySeconds * 1000.0;
    while (juce::Time::getMillisecondCounterHiRes() < end)
    {
        if (programs > 0)
        {
            plugin->setCurrentProgram (random.nextInt (programs));
            ++programChanges;
        }
        juce::MemoryBlock block;
        plugin->getStateInformation (block);
        ++saves;
        const auto& state = random.nextBool() ? block : states[(size_t) random.nextInt ((int) states.size())];
        plugin->setStateInformation (state.getData(), (int) state.getSize());
        ++restores;
        juce::MessageManager::getInstance()->runDispatchLoopUntil (1);
    }
    stop = true;
    audioThread.join();
    for (auto& t : automation)
        t.join();

    // Afterwards the instance still works as before.
    bool finiteAfter = processNoise (audio, 0.2, 48000.0, blockSize);
    plugin->releaseResources();

    juce::StringArray problems;
    if (nonFinite)
        problems.add ("non-finite output while the threads ran");
    if (! finiteAfter)
        problems.add ("non-finite output after the threads stopped");
    if (blocks.load() < 10)
        problems.add ("the audio thread processed only " + juce::String (blocks.load()) + " blocks");
    s.report.verdict (name, problems);
    s.report.note (juce::String (s.concurrencySeconds, 1) + " s: " + juce::String (blocks.load()) + " blocks, "
                   + juce::String (writes.load()) + " parameter writes, " + juce::String (programChanges) + " program changes, "
                   + juce::String (saves) + " saves, " + juce::String (restores) + " restores"
                   + (programs > 0 ? juce::String() : juce::String (" (the format offers no programs)")));
}
