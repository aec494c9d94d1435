#include "UpdateCheck.h"

#include <chrono>
#include <system_error>
#include <thread>

#if JUCE_LINUX && JUCE_USE_CURL && ! JUCE_LOAD_CURL_SYMBOLS_LAZILY
 #include <curl/curl.h>
#endif

namespace brisca
{
namespace
{
juce::String& endpointForTests()
{
    static juce::String schemeAndHost;
    return schemeAndHost;
}

std::atomic<int> runningChecks { 0 };

// A worker may still wait for the server when the process ends or the host unloads the plug-in,
// and it must not be left running code or libraries that are being torn down meanwhile. So the
// end of the process (or of this library) waits for running checks, a few seconds at most.
struct WaitForRunningChecks
{
    ~WaitForRunningChecks()
    {
        using namespace std::chrono;
        const auto deadline = steady_clock::now() + seconds (10);
        bool waited = false;
        while (runningChecks.load() > 0 && steady_clock::now() < deadline)
        {
            waited = true;
            std::this_thread::sleep_for (milliseconds (5));
        }
        if (waited) // time for the last one to return from its thread function
            std::this_thread::sleep_for (milliseconds (20));
    }
};

void prepareForWorkers()
{
   #if JUCE_LINUX && JUCE_USE_CURL && ! JUCE_LOAD_CURL_SYMBOLS_LAZILY
    // Left to the first request, curl's global set-up (TLS and SSH libraries) would run on a worker
    // and could meet their clean-up at exit. Here it runs once, before any worker, and its exit
    // handlers are registered before the wait below, so they run after it.
    [[maybe_unused]] static const bool curlReady = curl_global_init (CURL_GLOBAL_DEFAULT) == CURLE_OK;
   #endif
    static WaitForRunningChecks waitAtExit;
}

struct Job
{
    std::shared_ptr<UpdateStatus> status;
    juce::URL url;
};

void runJob (std::unique_ptr<Job> job)
{
    checkForUpdate (job->url, *job->status);
    job.reset();
    runningChecks.fetch_sub (1);
}
} // namespace

juce::URL updateCheckUrl()
{
    const auto& redirected = endpointForTests();
    const juce::String schemeAndHost = redirected.isNotEmpty() ? redirected : juce::String ("https://" BRISCA_MAKER_DOMAIN);
    return juce::URL (schemeAndHost + "/brisca_update.php?v=" BRISCA_VERSION_STRING);
}

void setUpdateEndpointForTests (const juce::String& schemeAndHost)
{
    endpointForTests() = schemeAndHost;
}

void recordUpdateAnswer (UpdateStatus& status, bool answered, int statusCode)
{
    if (answered)
        status.newVersionAvailable.store (statusCode == 202, std::memory_order_relaxed);
}

void checkForUpdate (const juce::URL& url, UpdateStatus& status)
{
    int statusCode = 0;
    juce::StringPairArray responseHeaders; // asked for with the status, never looked at
    const auto stream = url.createInputStream (juce::URL::InputStreamOptions (juce::URL::ParameterHandling::inAddress)
                                                   .withConnectionTimeoutMs (3000)
                                                   .withNumRedirectsToFollow (5)
                                                   .withResponseHeaders (&responseHeaders)
                                                   .withStatusCode (&statusCode));
    // The status code is the whole answer: the body is never read.
    recordUpdateAnswer (status, stream != nullptr, statusCode);
}

bool startUpdateCheck (std::shared_ptr<UpdateStatus> status, const juce::URL& url)
{
    prepareForWorkers();
    auto job = std::make_unique<Job> (Job { std::move (status), url });
    runningChecks.fetch_add (1);
    try
    {
        std::thread (runJob, std::move (job)).detach();
        return true;
    }
    catch (const std::system_error&)
    {
        // No thread to spare: no check, so no badge.
        runningChecks.fetch_sub (1);
        return false;
    }
}
} // namespace brisca
