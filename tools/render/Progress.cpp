#include "Progress.h"

#include <cstdio>
#include <unistd.h>

ProgressBar::ProgressBar (juce::int64 totalWork, bool wanted)
    : total (totalWork), active (wanted && total > 0 && ::isatty (STDERR_FILENO) != 0)
{
}

ProgressBar::~ProgressBar() { finish(); }

void ProgressBar::update (juce::int64 done)
{
    if (! active)
        return;
    const int percent = static_cast<int> (100 * juce::jlimit<juce::int64> (0, total, done) / total);
    if (percent == shownPercent)
        return;
    shownPercent = percent;
    constexpr int width = 40;
    const int filled = percent * width / 100;
    char bar[width + 1];
    for (int i = 0; i < width; ++i)
        bar[i] = i < filled ? '#' : '.';
    bar[width] = 0;
    std::fprintf (stderr, "\rrendering [%s] %3d%%", bar, percent);
    std::fflush (stderr);
}

void ProgressBar::finish()
{
    if (! active)
        return;
    active = false;
    std::fprintf (stderr, "\r%60s\r", ""); // leave a clean line for the summary
    std::fflush (stderr);
}
