#include "Checks.h"
#include "HostedAudio.h"
#include "SilentServer.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <atomic>
#include <thread>

// The editor's lifetime as hosts drive it, under a display (xvfb-run in CI). Each editor is put
// on the desktop as a host window would be, so the format's view is really attached, and the
// message loop runs while it is open so its timers and redraws happen.
//
// Every editor asks the maker's update endpoint in the background. Here all web requests go to
// a local server that never answers (as the proxy libcurl takes from the environment), so no
// check depends on the network and every update check waits until its own timeout. Before an
// instance is destroyed the checks wait for those requests to end, except where ending the
// plug-in under a waiting request is the point.
namespace
{
constexpr int requestEndsWithinMs = 8000; // the update check's own timeout is a few seconds

void pump (int milliseconds) { juce::MessageManager::getInstance()->runDispatchLoopUntil (milliseconds); }

bool haveDisplay() { return juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() != nullptr; }

std::unique_ptr<juce::AudioProcessorEditor> openEditor (juce::AudioPluginInstance& plugin)
{
    std::unique_ptr<juce::AudioProcessorEditor> editor (plugin.createEditorIfNeeded());
    if (editor != nullptr)
    {
        editor->addToDesktop (juce::ComponentPeer::windowHasTitleBar);
        editor->setVisible (true);
    }
    return editor;
}

juce::String closeEditor (std::unique_ptr<juce::AudioProcessorEditor> editor)
{
    // The host's window takes the size of the plug-in's view once that is attached.
    const auto size = editor->getLocalBounds();
    editor->setVisible (false);
    editor->removeFromDesktop();
    // JUCE's X11 embedding posts calls to itself on window events (XEmbedComponent's
    // ConfigureNotify handler captures `this`); they must run before the window goes, or they
    // land in freed memory, in the host's code rather than the plug-in's.
    pump (40);
    editor.reset();
    pump (5);
    if (size.getWidth() != 1045 || size.getHeight() != 410)
        return "the editor is " + juce::String (size.getWidth()) + " x " + juce::String (size.getHeight()) + ", not 1045 x 410";
    return {};
}

// Opens the instance's editor on the desktop, keeps it for the given time and closes it.
juce::String showEditor (juce::AudioPluginInstance& plugin, int milliseconds)
{
    auto editor = openEditor (plugin);
    if (editor == nullptr)
        return "no editor";
    pump (milliseconds);
    return closeEditor (std::move (editor));
}

void checkOpenCloseWhileAudioRuns (Session& s, const SilentServer& server)
{
    const juce::String name = "editor.open-close-while-audio";
    s.report.begin (name);
    auto plugin = s.newInstance (name);
    if (plugin == nullptr)
        return;
    plugin->prepareToPlay (48000.0, 512);
    std::atomic<bool> stop { false }, nonFinite { false };
    std::atomic<long> blocks { 0 };
    HostedAudio audio (*plugin, s.seed, 512);
    std::thread audioThread ([&] {
        while (! stop.load())
        {
            audio.fillNoise (512);
            audio.process (512);
            nonFinite = nonFinite || ! audio.outputFinite (512);
            ++blocks;
            std::this_thread::sleep_for (std::chrono::milliseconds (2));
        }
    });
    juce::StringArray problems;
    for (int round = 0; round < 50 && problems.isEmpty(); ++round)
        if (const auto error = showEditor (*plugin, 20 + (round % 5) * 10); error.isNotEmpty())
            problems.add ("round " + juce::String (round) + ": " + error);
    stop = true;
    audioThread.join();
    plugin->releaseResources();
    if (nonFinite)
        problems.add ("non-finite output while editors came and went");
    server.waitUntilAllClosed (requestEndsWithinMs);
    plugin.reset();
    s.report.verdict (name, problems);
    s.report.note ("50 editors; the audio thread processed " + juce::String (blocks.load()) + " blocks meanwhile");
}

// A host may open the editor before it ever prepares the plug-in: the meter and the timer then
// see an engine with no sample rate.
void checkNeverPrepared (Session& s, const SilentServer& server)
{
    const juce::String name = "editor.never-prepared";
    s.report.begin (name);
    auto plugin = s.newInstance (name);
    if (plugin == nullptr)
        return;
    juce::StringArray problems;
    if (const auto error = showEditor (*plugin, 300); error.isNotEmpty())
        problems.add (error);
    server.waitUntilAllClosed (requestEndsWithinMs);
    plugin.reset();
    pump (20);
    s.report.verdict (name, problems);
}

// The editor is closed one second after opening, while its update check still waits for the
// server; the check later ends on its own and must not touch the editor that is gone. With
// unloadToo the instance goes as well, at once: JUCE's LV2 host then unloads the plug-in's
// binary while the request still waits inside it (JUCE's VST3 host keeps binaries loaded until
// it shuts down).
void checkUpdateCheckOutlivesEditor (Session& s, const SilentServer& server, bool unloadToo)
{
    const juce::String name = unloadToo ? "editor.unload-while-update-check-waits" : "editor.close-while-update-check-waits";
    s.report.begin (name);
    auto plugin = s.newInstance (name);
    if (plugin == nullptr)
        return;
    const int before = server.accepted();
    auto editor = openEditor (*plugin);
    if (editor == nullptr)
    {
        s.report.fail (name, "no editor");
        return;
    }
    const auto opened = juce::Time::getMillisecondCounter();
    if (! server.waitForConnection (before, 900))
    {
        closeEditor (std::move (editor));
        s.report.skip (name, "the editor made no update request");
        return;
    }
    pump (static_cast<int> (1000 - juce::jmin<juce::uint32> (1000, juce::Time::getMillisecondCounter() - opened)));
    const bool stillWaiting = server.open() > 0;
    closeEditor (std::move (editor));
    if (unloadToo)
        plugin.reset();

    // Keep the process busy until the request has ended and a little beyond.
    const auto end = juce::Time::getMillisecondCounter() + requestEndsWithinMs;
    while (server.open() > 0 && juce::Time::getMillisecondCounter() < end)
        pump (20);
    pump (300);
    plugin.reset();
    pump (20);

    if (! stillWaiting)
    {
        s.report.skip (name, "the update request had ended before the editor closed, so nothing was waiting");
        return;
    }
    juce::StringArray problems;
    if (server.open() > 0)
        problems.add ("the update request still waits " + juce::String (requestEndsWithinMs / 1000) + " s after the editor closed");
    s.report.verdict (name, problems);
}
} // namespace

void runEditorChecks (Session& s)
{
    const char* const checks[] = { "editor.open-close-while-audio", "editor.never-prepared",
                                   "editor.close-while-update-check-waits", "editor.unload-while-update-check-waits" };
    if (! haveDisplay())
    {
        for (auto* check : checks)
            s.report.skip (check, "no display; run under xvfb-run");
        return;
    }
    SilentServer server;
    if (! server.isListening())
    {
        for (auto* check : checks)
            s.report.skip (check, "cannot listen on 127.0.0.1 for the plug-in's update requests");
        return;
    }
    server.becomeProxy();
    checkOpenCloseWhileAudioRuns (s, server);
    checkNeverPrepared (s, server);
    checkUpdateCheckOutlivesEditor (s, server, false);
    checkUpdateCheckOutlivesEditor (s, server, true);
}
