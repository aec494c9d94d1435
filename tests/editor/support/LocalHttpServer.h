#pragma once

#include <juce_core/juce_core.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// A small HTTP endpoint on 127.0.0.1 for the update check. One thread takes the connections one
// after the other, keeps each request head and answers with an empty body, after a delay if the
// reply asks for one. Stopping it interrupts a delay and closes that connection unanswered.
class LocalHttpServer
{
public:
    struct Reply
    {
        int status = 200;
        int delayMs = 0;
        juce::String location; // for redirects
    };
    // Decides the reply from the request target ("/path?query").
    using Responder = std::function<Reply (const juce::String& target)>;

    explicit LocalHttpServer (Responder);
    explicit LocalHttpServer (int status, int delayMs = 0);
    ~LocalHttpServer();

    bool isListening() const { return port > 0; }
    // "http://127.0.0.1:<port>", to hand to the update check as its endpoint.
    juce::String base() const { return "http://127.0.0.1:" + juce::String (port); }
    // Every request head received so far, request line first, in arrival order.
    std::vector<juce::String> requests() const;

private:
    void run();
    void serve (juce::StreamingSocket&);
    bool pause (int milliseconds); // false when stopped meanwhile

    Responder responder;
    juce::StreamingSocket listener;
    int port = 0;
    std::atomic<bool> stopping { false };
    mutable std::mutex mutex;
    std::condition_variable wake;
    std::vector<juce::String> heads;
    std::thread thread;
};
