// The editor in a plain window, with its update check answered "newer version" (202) by a local
// server, so the badge and the update dialog can be seen and screenshot. The Standalone app
// cannot show them: it always asks the maker's own endpoint.
//   brisca_editor_window      (runs until killed; the window is titled "Brisca update")
#include "PluginEditor.h"
#include "PluginProcessor.h"
#include "UpdateCheck.h"
#include "support/LocalHttpServer.h"

#include <X11/Xlib.h> // last: its macros clash with other headers

namespace
{
struct EditorWindow : juce::DocumentWindow
{
    EditorWindow() : juce::DocumentWindow ("Brisca update", juce::Colours::black, 0)
    {
        setUsingNativeTitleBar (true);
        setContentOwned (processor.createEditorIfNeeded(), true);
        setTopLeftPosition (40, 40);
        setVisible (true);
    }
    // The editor goes before the processor it belongs to.
    ~EditorWindow() override { clearContentComponent(); }
    void closeButtonPressed() override { juce::MessageManager::getInstance()->stopDispatchLoop(); }

    BriscaAudioProcessor processor;
};
} // namespace

int main()
{
    // Without an application object the framework installs no X error handler of its own.
    XSetErrorHandler ([] (Display*, XErrorEvent*) { return 0; });
    juce::ScopedJuceInitialiser_GUI framework;
    LocalHttpServer endpoint (202);
    brisca::setUpdateEndpointForTests (endpoint.base());
    {
        EditorWindow window;
        juce::MessageManager::getInstance()->runDispatchLoop();
    }
    return 0;
}
