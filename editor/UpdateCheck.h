#pragma once

#include <juce_core/juce_core.h>

#include <atomic>
#include <memory>

namespace brisca
{
// What the background update check found out. The editor that asked and the worker that asks
// share it: the worker is never waited for and may outlive the editor, so neither owns it alone
// and the worker never needs the editor itself.
struct UpdateStatus
{
    // Set once by the worker when the maker's endpoint answers 202; nothing clears it.
    std::atomic<bool> newVersionAvailable { false };
};

// The request: the maker's update endpoint with the plug-in's version as its only parameter.
juce::URL updateCheckUrl();

// Points updateCheckUrl() at another server (scheme, host and port, no path), for tests that run
// their own endpoint on this machine; an empty text goes back to the maker's. Message thread
// only. The plug-in never calls it.
void setUpdateEndpointForTests (const juce::String& schemeAndHost);

// The endpoint's answer turned into the flag: a stream with status 202 means a newer version
// exists, any other status means it does not, and no answer at all leaves the flag as it was.
void recordUpdateAnswer (UpdateStatus&, bool answered, int statusCode);

// Asks the endpoint and records the answer; blocks for as long as the request takes.
void checkForUpdate (const juce::URL&, UpdateStatus&);

// Runs checkForUpdate on a detached thread that keeps `status` alive until it ends; nobody waits
// for it, except the end of the process or of the plug-in library, for a few seconds at most.
// Returns false, and checks nothing, when no thread could be started.
bool startUpdateCheck (std::shared_ptr<UpdateStatus> status, const juce::URL&);
} // namespace brisca
