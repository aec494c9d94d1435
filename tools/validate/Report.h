#pragma once

#include <juce_core/juce_core.h>

// The validator's verdicts, one line per check: "PASS name", "FAIL name: reason" or
// "SKIP name: reason", plus indented notes that explain a result. A crash inside a check is
// reported against that check before the process dies, so a log always names the culprit.
class Report
{
public:
    Report();
    ~Report();

    // Names the check that runs from now on, for the crash handler.
    void begin (const juce::String& name);

    void pass (const juce::String& name);
    void fail (const juce::String& name, const juce::String& reason);
    void skip (const juce::String& name, const juce::String& reason);
    void note (const juce::String& text);

    // PASS when problems is empty, else FAIL with the problems joined.
    void verdict (const juce::String& name, const juce::StringArray& problems);

    int failures() const { return failed; }
    void printSummary() const;

private:
    int passed = 0, failed = 0, skipped = 0;
};
