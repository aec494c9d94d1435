#include "SilentServer.h"

#include <cstdlib>

SilentServer::SilentServer()
{
    if (listener.createListener (0, "127.0.0.1"))
    {
        port = listener.getBoundPort();
        thread = std::thread ([this] { serve(); });
    }
}

SilentServer::~SilentServer()
{
    stop = true;
    if (thread.joinable())
        thread.join();
    listener.close();
}

void SilentServer::becomeProxy() const
{
    const auto proxy = "http://127.0.0.1:" + juce::String (port);
    for (auto* name : { "https_proxy", "HTTPS_PROXY", "http_proxy", "all_proxy", "ALL_PROXY" })
        setenv (name, proxy.toRawUTF8(), 1);
    unsetenv ("no_proxy");
    unsetenv ("NO_PROXY");
}

bool SilentServer::waitForConnection (int before, int timeoutMs) const
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;
    while (acceptedCount.load() <= before)
    {
        if (juce::Time::getMillisecondCounter() > end)
            return false;
        juce::Thread::sleep (5);
    }
    return true;
}

bool SilentServer::waitUntilAllClosed (int timeoutMs) const
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;
    while (openCount.load() > 0)
    {
        if (juce::Time::getMillisecondCounter() > end)
            return false;
        juce::Thread::sleep (10);
    }
    return true;
}

void SilentServer::serve()
{
    std::vector<std::unique_ptr<juce::StreamingSocket>> connections;
    char sink[4096];
    while (! stop.load())
    {
        if (listener.waitUntilReady (true, 5) == 1)
            if (auto* connection = listener.waitForNextConnection())
            {
                connections.emplace_back (connection);
                ++acceptedCount;
                ++openCount;
            }
        for (auto it = connections.begin(); it != connections.end();)
        {
            const int ready = (*it)->waitUntilReady (true, 0);
            if (ready != 0 && (*it)->read (sink, sizeof (sink), false) <= 0)
            {
                it = connections.erase (it);
                --openCount;
            }
            else
                ++it;
        }
    }
}
