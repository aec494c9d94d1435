#include "Report.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace
{
// Written before each check starts, read by the signal handler: a fixed buffer, since the
// handler may not allocate.
char currentCheck[256] = "loading";

void writeRaw (const char* text) { [[maybe_unused]] auto n = ::write (STDOUT_FILENO, text, std::strlen (text)); }

void onFatalSignal (int signalNumber)
{
    writeRaw ("FAIL ");
    writeRaw (currentCheck);
    writeRaw (": crashed (");
    writeRaw (signalNumber == SIGSEGV ? "SIGSEGV" : signalNumber == SIGABRT ? "SIGABRT"
              : signalNumber == SIGBUS ? "SIGBUS" : signalNumber == SIGFPE ? "SIGFPE" : "SIGILL");
    writeRaw (")\n");
    std::signal (signalNumber, SIG_DFL);
    std::raise (signalNumber);
}

constexpr int fatalSignals[] = { SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL };
} // namespace

Report::Report()
{
    for (int s : fatalSignals)
        std::signal (s, onFatalSignal);
}

Report::~Report()
{
    for (int s : fatalSignals)
        std::signal (s, SIG_DFL);
}

void Report::begin (const juce::String& name)
{
    std::snprintf (currentCheck, sizeof (currentCheck), "%s", name.toRawUTF8());
}

void Report::pass (const juce::String& name)
{
    ++passed;
    std::printf ("PASS %s\n", name.toRawUTF8());
    std::fflush (stdout);
}

void Report::fail (const juce::String& name, const juce::String& reason)
{
    ++failed;
    std::printf ("FAIL %s: %s\n", name.toRawUTF8(), reason.toRawUTF8());
    std::fflush (stdout);
}

void Report::skip (const juce::String& name, const juce::String& reason)
{
    ++skipped;
    std::printf ("SKIP %s: %s\n", name.toRawUTF8(), reason.toRawUTF8());
    std::fflush (stdout);
}

void Report::note (const juce::String& text)
{
    for (const auto& line : juce::StringArray::fromLines (text))
        std::printf ("     %s\n", line.toRawUTF8());
    std::fflush (stdout);
}

void Report::verdict (const juce::String& name, const juce::StringArray& problems)
{
    if (problems.isEmpty())
        pass (name);
    else
        fail (name, problems.joinIntoString ("; "));
}

void Report::printSummary() const
{
    std::printf ("%d passed, %d failed, %d skipped\n", passed, failed, skipped);
    std::fflush (stdout);
}
