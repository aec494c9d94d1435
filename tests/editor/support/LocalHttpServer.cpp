#include "LocalHttpServer.h"

namespace
{
juce::String headOf (juce::StreamingSocket& client)
{
    juce::MemoryOutputStream received;
    char buffer[1024];
    const auto deadline = juce::Time::getMillisecondCounter() + 3000;
    while (! received.toString().contains ("\r\n\r\n") && juce::Time::getMillisecondCounter() < deadline)
    {
        if (client.waitUntilReady (true, 100) != 1)
            continue;
        const int n = client.read (buffer, (int) sizeof (buffer), false);
        if (n <= 0)
            break;
        received.write (buffer, (size_t) n);
    }
    return received.toString().upToFirstOccurrenceOf ("\r\n\r\n", false, false);
}

const char* reasonFor (int status)
{
    switch (status)
    {
        case 200: return "OK";
        case 202: return "Accepted";
        case 204: return "No Content";
        case 302: return "Found";
        case 404: return "Not Found";
        default: return "Status";
    }
}
} // namespace

LocalHttpServer::LocalHttpServer (Responder r) : responder (std::move (r))
{
    if (listener.createListener (0, "127.0.0.1"))
        port = listener.getBoundPort();
    thread = std::thread ([this] { run(); });
}

LocalHttpServer::LocalHttpServer (int status, int delayMs)
    : LocalHttpServer ([status, delayMs] (const juce::String&) { return Reply { status, delayMs, {} }; })
{
}

LocalHttpServer::~LocalHttpServer()
{
    {
        const std::lock_guard<std::mutex> lock (mutex);
        stopping = true;
    }
    wake.notify_all();
    thread.join();
    listener.close();
}

std::vector<juce::String> LocalHttpServer::requests() const
{
    const std::lock_guard<std::mutex> lock (mutex);
    return heads;
}

bool LocalHttpServer::pause (int milliseconds)
{
    std::unique_lock<std::mutex> lock (mutex);
    return ! wake.wait_for (lock, std::chrono::milliseconds (milliseconds), [this] { return stopping.load(); });
}

void LocalHttpServer::run()
{
    // Polling the listener lets this thread alone own it, so stopping needs no socket tricks.
    while (isListening() && ! stopping)
    {
        if (listener.waitUntilReady (true, 20) != 1)
            continue;
        if (std::unique_ptr<juce::StreamingSocket> client { listener.waitForNextConnection() })
            serve (*client);
    }
}

void LocalHttpServer::serve (juce::StreamingSocket& client)
{
    const auto head = headOf (client);
    {
        const std::lock_guard<std::mutex> lock (mutex);
        heads.push_back (head);
    }
    const auto target = head.upToFirstOccurrenceOf ("\r\n", false, false).fromFirstOccurrenceOf (" ", false, false)
                            .upToLastOccurrenceOf (" ", false, false);
    const auto reply = responder (target);
    if (reply.delayMs > 0 && ! pause (reply.delayMs))
        return;

    juce::String answer = "HTTP/1.1 " + juce::String (reply.status) + " " + reasonFor (reply.status) + "\r\n";
    if (reply.location.isNotEmpty())
        answer << "Location: " << reply.location << "\r\n";
    answer << "Content-Length: 0\r\nConnection: close\r\n\r\n";
    client.write (answer.toRawUTF8(), (int) answer.getNumBytesAsUTF8());
}
