#include "AudioThreadProbe.h"
#include "Checks.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <X11/Xlib.h> // last: its macros clash with other headers

#include <iostream>

// brisca-validate: loads a built Brisca bundle the way a host does and checks what real hosts
// and bad input do to it. Prints one PASS/FAIL/SKIP line per check; exits non-zero on a failure.
namespace
{
constexpr int exitFailure = 1, exitUsage = 2;

const char* const usage =
    "usage: brisca-validate [--only GROUP[,GROUP...]] [--seed N] [--seconds S] [--strict] BUNDLE\n"
    "  BUNDLE      a .vst3 bundle or an .lv2 bundle folder\n"
    "  --only      run only these groups: identity, processing, concurrency, realtime, state, editor\n"
    "  --seed      seed for the random signals, settings and block sizes (default 1)\n"
    "  --seconds   length of the concurrency run (default 3)\n"
    "  --strict    also fail the locks JUCE's own wrapper code takes on the audio thread\n";

struct Group
{
    const char* name;
    void (*run) (Session&);
};

constexpr Group groups[] = {
    { "identity", runIdentityChecks },       { "processing", runProcessingChecks },
    { "concurrency", runConcurrencyChecks }, { "realtime", runRealtimeChecks },
    { "state", runStateChecks },             { "editor", runEditorChecks },
};

struct Options
{
    juce::String bundle;
    juce::StringArray only;
    juce::int64 seed = 1;
    double seconds = 3.0;
    bool strict = false;
};

// Returns an error text, or empty when the arguments are usable.
juce::String parse (const juce::StringArray& args, Options& options)
{
    for (int i = 0; i < args.size(); ++i)
    {
        const auto& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--only" && hasValue)
        {
            options.only.addTokens (args[++i], ",", {});
            options.only.removeEmptyStrings();
            for (const auto& name : options.only)
                if (std::none_of (std::begin (groups), std::end (groups), [&] (const Group& g) { return name == g.name; }))
                    return "unknown group '" + name + "'";
        }
        else if (a == "--seed" && hasValue && args[i + 1].containsOnly ("0123456789"))
            options.seed = args[++i].getLargeIntValue();
        else if (a == "--seconds" && hasValue && args[i + 1].getDoubleValue() > 0.0)
            options.seconds = args[++i].getDoubleValue();
        else if (a == "--strict")
            options.strict = true;
        else if (a.startsWith ("-"))
            return "unknown or incomplete option '" + a + "'";
        else if (options.bundle.isEmpty())
            options.bundle = a;
        else
            return "more than one bundle given";
    }
    return options.bundle.isEmpty() ? juce::String ("no bundle given") : juce::String();
}
} // namespace

int main (int argc, char** argv)
{
    juce::StringArray args;
    for (int i = 1; i < argc; ++i)
        args.add (juce::String::fromUTF8 (argv[i]));
    Options options;
    if (const auto error = parse (args, options); error.isNotEmpty())
    {
        std::cerr << "brisca-validate: " << error << "\n" << usage;
        return exitUsage;
    }

    // A bare X server (Xvfb) makes JUCE's windows trip over X errors it only handles in apps.
    XSetErrorHandler ([] (Display*, XErrorEvent*) { return 0; });
    juce::ScopedJuceInitialiser_GUI juce;
    probe::prepare();

    Report report;
    PluginLoader loader;
    const auto bundle = juce::File::getCurrentWorkingDirectory().getChildFile (options.bundle);
    report.begin ("load");
    if (const auto error = loader.open (bundle); error.isNotEmpty())
    {
        report.fail ("load", error);
        return exitFailure;
    }
    report.pass ("load");
    report.note (loader.formatName() + " " + loader.description().fileOrIdentifier + ", seed " + juce::String (options.seed));

    Session session { loader, report, options.seed, options.seconds, options.strict };
    for (const auto& group : groups)
        if (options.only.isEmpty() || options.only.contains (group.name))
            group.run (session);

    report.printSummary();
    return report.failures() == 0 ? 0 : exitFailure;
}
