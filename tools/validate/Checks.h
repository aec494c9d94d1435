#pragma once

#include "PluginLoader.h"
#include "Report.h"

// One validation run over one bundle: the loader, the report, the seed and the run's options.
struct Session
{
    PluginLoader& loader;
    Report& report;
    juce::int64 seed = 1;
    double concurrencySeconds = 3.0;
    bool strict = false; // locks JUCE's wrappers take by design fail the real-time checks too

    // A new instance, or nullptr after a FAIL line for the named check.
    std::unique_ptr<juce::AudioPluginInstance> newInstance (const juce::String& check, double sampleRate = 48000.0, int blockSize = 512)
    {
        juce::String error;
        auto instance = loader.create (error, sampleRate, blockSize);
        if (instance == nullptr)
            report.fail (check, "cannot create an instance: " + error);
        return instance;
    }
};

// The check groups, each in its own file. Every group reports its checks by name; --only picks
// groups by these names.
void runIdentityChecks (Session&);
void runProcessingChecks (Session&);
void runConcurrencyChecks (Session&);
void runRealtimeChecks (Session&);
void runStateChecks (Session&);
void runEditorChecks (Session&);
