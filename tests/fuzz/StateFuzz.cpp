#include "PluginProcessor.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

// libFuzzer target: any bytes a host or a damaged project can hand to setStateInformation.
// Afterwards every parameter must hold a value the plug-in could have written itself, a
// refused block must have left no trace, and what the plug-in then saves must read back.
namespace
{
// Kept for the whole run (reachable, so not leaks): construction costs more than a restore.
juce::ScopedJuceInitialiser_GUI* juceInit = nullptr;
BriscaAudioProcessor* processor = nullptr;
BriscaAudioProcessor* reader = nullptr; // reads back what `processor` saves

struct NotificationCounter : juce::AudioProcessorParameter::Listener
{
    void parameterValueChanged (int, float value) override
    {
        ++count;
        if (! std::isfinite (value))
            fail ("a listener was told a value that is not finite");
    }
    void parameterGestureChanged (int, bool) override {}

    [[noreturn]] static void fail (const char* what)
    {
        std::fprintf (stderr, "state invariant broken: %s\n", what);
        std::abort();
    }

    int count = 0;
};

NotificationCounter* notifications = nullptr;

bool isSwitch (juce::AudioProcessorParameter* p) { return dynamic_cast<juce::AudioParameterBool*> (p) != nullptr; }

bool onTheGrid (float v)
{
    return std::isfinite (v) && v >= 0.0f && v <= 1.0f && v == 0.001f * std::floor (v / 0.001f + 0.5f);
}

void snapshot (BriscaAudioProcessor& p, std::uint32_t (&bits)[16])
{
    for (int i = 0; i < 16; ++i)
    {
        const float v = p.getParameters()[i]->getValue();
        std::memcpy (&bits[i], &v, sizeof v);
    }
}
} // namespace

extern "C" int LLVMFuzzerInitialize (int*, char***)
{
    // Parameters, XML and strings want JUCE's message manager, as inside a host.
    juceInit = new juce::ScopedJuceInitialiser_GUI();
    processor = new BriscaAudioProcessor();
    reader = new BriscaAudioProcessor();
    notifications = new NotificationCounter();
    for (auto* p : processor->getParameters())
        p->addListener (notifications);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    if (size > (std::size_t) std::numeric_limits<int>::max())
        return -1;

    auto& p = *processor;
    const int program = p.getCurrentProgram();
    std::uint32_t before[16], after[16];
    snapshot (p, before);
    p.stateRestored = false;
    notifications->count = 0;

    p.setStateInformation (data, (int) size);

    snapshot (p, after);
    if (! p.stateRestored && (std::memcmp (before, after, sizeof before) != 0 || notifications->count != 0))
        NotificationCounter::fail ("a refused block changed or notified something");
    if (p.stateRestored && notifications->count < 11)
        NotificationCounter::fail ("a restore did not re-send every continuous value");
    if (p.getCurrentProgram() != program)
        NotificationCounter::fail ("a restore changed the program number");

    for (int i = 0; i < 16; ++i)
    {
        auto* param = p.getParameters()[i];
        const float v = param->getValue();
        if (isSwitch (param) ? ! (v == 0.0f || v == 1.0f || after[i] == before[i]) : ! onTheGrid (v))
            NotificationCounter::fail ("a parameter holds a value no writer produces");
    }

    juce::MemoryBlock saved;
    p.getStateInformation (saved);
    const auto xml = juce::AudioProcessor::getXmlFromBinary (saved.getData(), (int) saved.getSize());
    if (xml == nullptr || xml->getTagName() != "MYPLUGINSETTINGS")
        NotificationCounter::fail ("the saved state does not parse");

    reader->setStateInformation (saved.getData(), (int) saved.getSize());
    std::uint32_t readBack[16];
    snapshot (*reader, readBack);
    if (! reader->stateRestored || std::memcmp (after, readBack, sizeof after) != 0)
        NotificationCounter::fail ("the saved state does not restore bit for bit");
    reader->stateRestored = false;
    return 0;
}
