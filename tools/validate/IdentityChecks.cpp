#include "Checks.h"
#include "HostedAudio.h"
#include "HostedParameters.h"

#include <cmath>

// Name, maker, version, parameters and bus layouts as the host sees them.
namespace
{
using Set = juce::AudioChannelSet;

void checkNames (Session& s, juce::AudioPluginInstance& plugin)
{
    const auto& d = s.loader.description();
    juce::StringArray problems;
    if (plugin.getName() != "Brisca")
        problems.add ("instance name is \"" + plugin.getName() + "\"");
    if (d.name != "Brisca")
        problems.add ("description name is \"" + d.name + "\"");
    s.report.verdict ("identity.name", problems);

    if (d.manufacturerName == "HALVANE-AUDIO")
        s.report.pass ("identity.maker");
    else
        s.report.fail ("identity.maker", "maker is \"" + d.manufacturerName + "\"");

    if (d.version.isEmpty())
        s.report.skip ("identity.version", "JUCE's " + s.loader.formatName() + " host reports no version for this format");
    else if (d.version == "2.5.3")
        s.report.pass ("identity.version");
    else
        s.report.fail ("identity.version", "version is \"" + d.version + "\"");
}

void checkParameters (Session& s, juce::AudioPluginInstance& plugin)
{
    HostedParameters params (plugin, s.loader.isVst3());
    juce::StringArray problems;
    for (int i = 0; i < numExpectedParameters; ++i)
    {
        const auto& e = expectedParameters[i];
        auto* p = params.ours()[(size_t) i];
        if (p == nullptr)
        {
            problems.add (juce::String (e.id) + " missing");
            continue;
        }
        if (p->getName (100) != e.name)
            problems.add (juce::String (e.id) + " is named \"" + p->getName (100) + "\"");
        if (std::abs (p->getDefaultValue() - e.defaultValue) > 1.0e-6f)
            problems.add (juce::String (e.id) + " default " + juce::String (p->getDefaultValue(), 6));
        if (std::abs (p->getValue() - e.defaultValue) > 1.0e-6f)
            problems.add (juce::String (e.id) + " starts at " + juce::String (p->getValue(), 6));
        if (e.isSwitch && p->getNumSteps() != 2)
            problems.add (juce::String (e.id) + " has " + juce::String (p->getNumSteps()) + " steps, not 2");
    }
    s.report.verdict ("identity.parameters", problems);

    juce::StringArray extras;
    for (auto* p : params.others())
        extras.add ("\"" + p->getName (100) + "\"");
    if (! extras.isEmpty())
        s.report.note ("added by the format wrapper: " + extras.joinIntoString (", "));
}

// The text a host shows: the normalised value with two decimals, "On"/"Off" for switches, and
// typed text read back on the same scale.
void checkParameterText (Session& s, juce::AudioPluginInstance& plugin)
{
    if (! s.loader.isVst3())
    {
        s.report.skip ("identity.parameter-text", "LV2 carries no value text; JUCE's LV2 host formats the number itself");
        return;
    }
    HostedParameters params (plugin, true);
    juce::StringArray problems;
    auto expectText = [&] (const char* id, float value, const juce::String& expected) {
        if (auto* p = params.find (id))
            if (p->getText (value, 100) != expected)
                problems.add (juce::String (id) + " at " + juce::String (value, 3) + " reads \"" + p->getText (value, 100) + "\", not \"" + expected + "\"");
    };
    for (int i = 0; i < numExpectedParameters; ++i)
    {
        const auto& e = expectedParameters[i];
        if (e.isSwitch)
        {
            expectText (e.id, 1.0f, "On");
            expectText (e.id, 0.0f, "Off");
        }
        else
        {
            expectText (e.id, e.defaultValue, juce::String (e.defaultValue, 2));
            expectText (e.id, 0.25f, "0.25");
            expectText (e.id, 1.0f, "1.00");
        }
    }
    if (auto* input = params.find ("dbInput"))
        if (std::abs (input->getValueForText ("0.75") - 0.75f) > 1.0e-6f)
            problems.add ("dbInput reads the text 0.75 as " + juce::String (input->getValueForText ("0.75"), 6));
    s.report.verdict ("identity.parameter-text", problems);
}

struct LayoutCase
{
    const char* name;
    Set mainIn, mainOut, side;
    bool accepted;
};

juce::String describe (const juce::AudioProcessor::BusesLayout& l)
{
    juce::StringArray parts;
    for (auto& b : l.inputBuses)
        parts.add ("in " + b.getDescription());
    for (auto& b : l.outputBuses)
        parts.add ("out " + b.getDescription());
    return parts.joinIntoString (", ");
}

void checkLayouts (Session& s, juce::AudioPluginInstance& plugin)
{
    const auto initial = plugin.getBusesLayout();
    juce::StringArray problems;
    if (initial.inputBuses.size() != 2 || initial.outputBuses.size() != 1
        || initial.getMainInputChannelSet() != Set::stereo() || initial.getMainOutputChannelSet() != Set::stereo()
        || initial.getChannelSet (true, 1) != Set::stereo())
        problems.add ("default layout is " + describe (initial) + ", not stereo in and out with a stereo side chain");
    s.report.verdict ("identity.default-layout", problems);

    if (! s.loader.isVst3())
    {
        s.report.skip ("identity.layouts", "JUCE's LV2 host cannot change the layout of an LV2 plug-in (its ports are fixed)");
        return;
    }

    const LayoutCase cases[] = {
        { "mono", Set::mono(), Set::mono(), Set::stereo(), true },
        { "stereo", Set::stereo(), Set::stereo(), Set::stereo(), true },
        { "mono in, stereo out", Set::mono(), Set::stereo(), Set::stereo(), false },
        { "5.1", Set::create5point1(), Set::create5point1(), Set::stereo(), false },
        { "side chain disabled", Set::stereo(), Set::stereo(), Set::disabled(), true },
        { "side chain mono", Set::stereo(), Set::stereo(), Set::mono(), true },
        { "side chain stereo", Set::stereo(), Set::stereo(), Set::stereo(), true },
    };
    problems.clear();
    for (const auto& c : cases)
    {
        auto layout = initial;
        layout.inputBuses.getReference (0) = c.mainIn;
        layout.outputBuses.getReference (0) = c.mainOut;
        layout.inputBuses.getReference (1) = c.side;
        const auto before = plugin.getBusesLayout();
        const bool accepted = plugin.setBusesLayout (layout);
        if (accepted != c.accepted)
        {
            problems.add (juce::String (c.name) + (accepted ? " accepted" : " refused"));
        }
        else if (accepted)
        {
            if (plugin.getBusesLayout() != layout)
                problems.add (juce::String (c.name) + " reported as accepted but the layout is " + describe (plugin.getBusesLayout()));
            plugin.prepareToPlay (48000.0, 512);
            HostedAudio audio (plugin, s.seed, 512);
            if (! processNoise (audio, 0.1, 48000.0, 512))
                problems.add (juce::String (c.name) + " gives non-finite output");
            plugin.releaseResources();
        }
        else if (plugin.getBusesLayout() != before)
        {
            problems.add (juce::String (c.name) + " refused but the layout changed to " + describe (plugin.getBusesLayout()));
        }
    }
    plugin.setBusesLayout (initial);
    s.report.verdict ("identity.layouts", problems);
}
} // namespace

void runIdentityChecks (Session& s)
{
    s.report.begin ("identity");
    auto plugin = s.newInstance ("identity");
    if (plugin == nullptr)
        return;
    checkNames (s, *plugin);
    s.report.begin ("identity.parameters");
    checkParameters (s, *plugin);
    s.report.begin ("identity.parameter-text");
    checkParameterText (s, *plugin);
    s.report.begin ("identity.layouts");
    checkLayouts (s, *plugin);
}
