#pragma once

#include <juce_core/juce_core.h>

// A one-line progress bar on stderr, redrawn in place. It stays silent when stderr is not a
// terminal (logs and pipes get no carriage returns) or when the job is short.
class ProgressBar
{
public:
    ProgressBar (juce::int64 total, bool wanted);
    ~ProgressBar();

    void update (juce::int64 done);
    void finish();

private:
    juce::int64 total;
    bool active;
    int shownPercent = -1;
};
