#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <X11/Xlib.h> // last: its macros clash with other headers

// JUCE needs its message manager for parameters, editors and hosting. Under a bare Xvfb JUCE
// only installs its X error handler for standalone apps, so the tests install a lenient one.
int main (int argc, char** argv)
{
    ::testing::InitGoogleTest (&argc, argv);
    XSetErrorHandler ([] (Display*, XErrorEvent*) { return 0; });
    juce::ScopedJuceInitialiser_GUI juce;
    return RUN_ALL_TESTS();
}
