#pragma once

#include <juce_core/juce_core.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

// A TCP server on this machine that accepts connections, reads whatever arrives and never
// answers: a server that is slow beyond any timeout. Set as the proxy for web requests (libcurl
// reads https_proxy from the environment), it holds every request the plug-in makes, with no
// network involved.
class SilentServer
{
public:
    SilentServer();
    ~SilentServer();

    bool isListening() const { return port > 0; }
    int getPort() const { return port; }

    // Points libcurl's proxy variables of this process at the server.
    void becomeProxy() const;

    int accepted() const { return acceptedCount.load(); }
    int open() const { return openCount.load(); }

    // Waits until more than `before` connections have been accepted; false on timeout.
    bool waitForConnection (int before, int timeoutMs) const;
    // Waits until every accepted connection has been closed by its client; false on timeout.
    bool waitUntilAllClosed (int timeoutMs) const;

private:
    void serve();

    juce::StreamingSocket listener;
    int port = 0;
    std::atomic<bool> stop { false };
    std::atomic<int> acceptedCount { 0 }, openCount { 0 };
    std::thread thread;
};
