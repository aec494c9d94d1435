#include "EditorTestSupport.h"
#include "UpdateCheck.h"
#include "support/LocalHttpServer.h"

#include <atomic>

// The background update check against a server of our own on 127.0.0.1.
namespace
{
void pump (int milliseconds) { juce::MessageManager::getInstance()->runDispatchLoopUntil (milliseconds); }

// The worker holds the shared status until it ends; `owners` counts the other holders.
bool waitForWorker (const std::shared_ptr<brisca::UpdateStatus>& status, long owners, int timeoutMs)
{
    const auto deadline = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;
    while (status.use_count() > owners)
    {
        if (juce::Time::getMillisecondCounter() > deadline)
            return false;
        pump (10);
    }
    return true;
}

struct OpenedEditor
{
    std::unique_ptr<BriscaAudioProcessorEditor> editor;
    double constructionMs;
};

OpenedEditor openEditor (BriscaAudioProcessor& processor)
{
    const auto start = juce::Time::getMillisecondCounterHiRes();
    auto editor = std::make_unique<BriscaAudioProcessorEditor> (processor);
    const auto elapsed = juce::Time::getMillisecondCounterHiRes() - start;
    if (haveDisplay())
    {
        editor->addToDesktop (0);
        editor->setVisible (true);
    }
    return { std::move (editor), elapsed };
}

// Sends the update check to the given server (or to a closed port) for one test.
struct UpdateCheck : ::testing::Test
{
    BriscaAudioProcessor processor;

    static void useEndpoint (const juce::String& base) { brisca::setUpdateEndpointForTests (base); }
    ~UpdateCheck() override { useEndpoint ("http://127.0.0.1:1"); }
};
using UpdateCheckRace = UpdateCheck;
} // namespace

TEST_F (UpdateCheck, ShippingRequestGoesToTheMakersEndpoint)
{
    useEndpoint ({});
    EXPECT_EQ (brisca::updateCheckUrl().toString (true), "https://" BRISCA_MAKER_DOMAIN "/brisca_update.php?v=2.5.3");
}

TEST_F (UpdateCheck, OnlyStatus202ShowsTheBadge)
{
    for (const int status : { 202, 200, 204, 404 })
    {
        SCOPED_TRACE (status);
        LocalHttpServer server (status);
        ASSERT_TRUE (server.isListening());
        useEndpoint (server.base());
        auto opened = openEditor (processor);
        const auto shared = opened.editor->updateStatus;
        ASSERT_TRUE (waitForWorker (shared, 2, 5000));
        EXPECT_EQ (opened.editor->newVersionAvailable.load(), status == 202);

        // One GET of the endpoint, its only parameter the version.
        const auto requests = server.requests();
        ASSERT_EQ (requests.size(), 1u);
        EXPECT_TRUE (requests[0].startsWith ("GET /brisca_update.php?v=2.5.3 HTTP/")) << requests[0];
        EXPECT_FALSE (requests[0].containsIgnoreCase ("Content-Length")) << "no body";

        if (haveDisplay())
        {
            pump (120); // two ticks
            EXPECT_EQ (opened.editor->notificationButton.isVisible(), status == 202);
        }
    }
}

TEST_F (UpdateCheck, FollowsAtMostFiveRedirects)
{
    for (const int redirects : { 5, 6 })
    {
        SCOPED_TRACE (redirects);
        // /brisca_update.php sends the client along /hop/N .. /hop/1, then 202.
        LocalHttpServer server ([redirects] (const juce::String& target) {
            const int left = target.startsWith ("/hop/") ? target.getTrailingIntValue() - 1 : redirects;
            if (left == 0)
                return LocalHttpServer::Reply { 202, 0, {} };
            return LocalHttpServer::Reply { 302, 0, "/hop/" + juce::String (left) };
        });
        useEndpoint (server.base());
        auto opened = openEditor (processor);
        ASSERT_TRUE (waitForWorker (opened.editor->updateStatus, 1, 10000));
        EXPECT_EQ (opened.editor->newVersionAvailable.load(), redirects <= 5);
    }
}

TEST_F (UpdateCheck, NoServerMeansNoBadgeAndNoWait)
{
    // A port that was free a moment ago: the connection is refused.
    int port = 0;
    {
        juce::StreamingSocket probe;
        ASSERT_TRUE (probe.createListener (0, "127.0.0.1"));
        port = probe.getBoundPort();
    }
    useEndpoint ("http://127.0.0.1:" + juce::String (port));
    auto opened = openEditor (processor);
    EXPECT_LT (opened.constructionMs, 1000.0);
    ASSERT_TRUE (waitForWorker (opened.editor->updateStatus, 1, 5000));
    EXPECT_FALSE (opened.editor->newVersionAvailable.load());
    if (haveDisplay())
    {
        pump (120);
        EXPECT_FALSE (opened.editor->notificationButton.isVisible());
    }
}

// Also run under ThreadSanitizer: the worker answers after its editor is gone.
TEST_F (UpdateCheckRace, EditorClosedWhileTheServerIsSlow)
{
    // The first answer takes two seconds; later ones come at once.
    std::atomic<int> asked { 0 };
    LocalHttpServer server ([&asked] (const juce::String&) {
        return LocalHttpServer::Reply { 202, asked++ == 0 ? 2000 : 0, {} };
    });
    useEndpoint (server.base());
    std::shared_ptr<brisca::UpdateStatus> status;
    {
        auto opened = openEditor (processor);
        // The constructor did not wait for the server.
        EXPECT_LT (opened.constructionMs, 1000.0);
        status = opened.editor->updateStatus;
        pump (1000);
        EXPECT_EQ (server.requests().size(), 1u);
        EXPECT_FALSE (opened.editor->newVersionAvailable.load());
    } // the editor closes while the server still keeps its answer
    ASSERT_TRUE (waitForWorker (status, 1, 8000));
    // The answer arrived and went into the shared status, which outlived the editor.
    EXPECT_TRUE (status->newVersionAvailable.load());
    // Another editor starts from nothing and asks again.
    auto next = openEditor (processor);
    EXPECT_FALSE (next.editor->newVersionAvailable.load());
    ASSERT_TRUE (waitForWorker (next.editor->updateStatus, 1, 8000));
    EXPECT_TRUE (next.editor->newVersionAvailable.load());
    EXPECT_EQ (server.requests().size(), 2u);
}
