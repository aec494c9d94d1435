#include "EditorTestSupport.h"

// Slider movements written to the parameters: the cube law of THRESHOLD, ATTACK and RELEASE, the
// 0.001 grid, host gestures around drags and resets, and the 500 px drag scale.
namespace
{
using Ed = BriscaAudioProcessorEditor;
using Proc = BriscaAudioProcessor;

struct Recorder : juce::AudioProcessorParameter::Listener
{
    int begins = 0, ends = 0, values = 0;
    void parameterValueChanged (int, float) override { ++values; }
    void parameterGestureChanged (int, bool starting) override { ++(starting ? begins : ends); }
};

juce::MouseEvent mouseAt (juce::Component& c, float x, float y, juce::ModifierKeys mods, int clicks = 1)
{
    const auto now = juce::Time::getCurrentTime();
    return juce::MouseEvent (juce::Desktop::getInstance().getMainMouseSource(), { x, y }, mods,
                             juce::MouseInputSource::defaultPressure, 0.0f, 0.0f, 0.0f, 0.0f, &c, &c, now, { x, y },
                             now, clicks, false);
}

const auto leftButton = juce::ModifierKeys (juce::ModifierKeys::leftButtonModifier);
} // namespace

using SliderTransfer = EditorTest;

TEST_F (SliderTransfer, WritesTheLinearOrCubedValueOnTheParameterGrid)
{
    const struct
    {
        std::unique_ptr<juce::Slider> Ed::*slider;
        double position;
        juce::AudioParameterFloat* Proc::*parameter;
        float expected;
    } cases[] = {
        { &Ed::thresholdSlider, 0.5, &Proc::dbThreshold, 0.125f },
        { &Ed::thresholdSlider, 0.1, &Proc::dbThreshold, 0.001f },
        { &Ed::thresholdSlider, 0.07, &Proc::dbThreshold, 0.0f }, // 0.000343 is below half a step
        { &Ed::attackSlider, 0.5, &Proc::dbAttack, 0.125f },
        { &Ed::releaseSlider, 1.0, &Proc::dbRelease, 1.0f },
        { &Ed::inputSlider, 0.735, &Proc::dbInput, 0.735f },
        { &Ed::ratioSlider, 0.2, &Proc::dbRatio, 0.2f },
        { &Ed::wetSlider, 0.25, &Proc::dbWet, 0.25f },
    };
    for (const auto& c : cases)
    {
        Recorder host;
        auto* parameter = processor.*(c.parameter);
        parameter->addListener (&host);
        ((*editor).*(c.slider))->setValue (c.position, juce::sendNotificationSync);
        parameter->removeListener (&host);
        EXPECT_NEAR (valueOf (parameter), c.expected, 1.0e-6f) << parameter->getParameterID() << " at " << c.position;
        EXPECT_EQ (host.values, 1);
    }
}

TEST_F (SliderTransfer, FindsParametersByNameAndIgnoresForeignSliders)
{
    juce::Slider named;
    named.setName ("Threshold");
    EXPECT_EQ (editor->getParameterForSlider (&named), processor.dbThreshold);
    named.setName ("Enable"); // a switch: not a continuous parameter
    EXPECT_EQ (editor->getParameterForSlider (&named), nullptr);
    named.setName ("Nothing");
    EXPECT_EQ (editor->getParameterForSlider (&named), nullptr);

    // A slider named like a parameter but not one of the editor's own changes nothing.
    named.setName ("Input");
    named.setRange (0.0, 1.0, 0.001);
    const float before = valueOf (processor.dbInput);
    named.setValue (0.9, juce::dontSendNotification);
    editor->sliderValueChanged (&named);
    EXPECT_EQ (valueOf (processor.dbInput), before);
}

TEST_F (SliderTransfer, MouseActionsAreSingleGestures)
{
    editor->timerCallback(); // sliders at the current parameter values
    const struct
    {
        const char* name;
        std::unique_ptr<juce::Slider> Ed::*slider;
        juce::AudioParameterFloat* Proc::*parameter;
        float start;
        std::function<void (juce::Slider&)> act;
        float expected;
        int gestures;
    } cases[] = {
        { "drag 100 px up", &Ed::inputSlider, &Proc::dbInput, 0.5f,
          [] (juce::Slider& s) {
              s.mouseDown (mouseAt (s, 39, 200, leftButton));
              s.mouseDrag (mouseAt (s, 39, 150, leftButton));
              s.mouseDrag (mouseAt (s, 39, 100, leftButton));
              s.mouseUp (mouseAt (s, 39, 100, {}));
          },
          0.7f, 1 },
        { "drag 500 px covers the range", &Ed::wideSlider, &Proc::dbWide, 0.0f,
          [] (juce::Slider& s) {
              s.mouseDown (mouseAt (s, 39, 250, leftButton));
              s.mouseDrag (mouseAt (s, 39, -250, leftButton));
              s.mouseUp (mouseAt (s, 39, -250, {}));
          },
          1.0f, 1 },
        { "click on the track does not jump", &Ed::kneeSlider, &Proc::dbKnee, 0.3f,
          [] (juce::Slider& s) {
              s.mouseDown (mouseAt (s, 39, 20, leftButton));
              s.mouseUp (mouseAt (s, 39, 20, {}));
          },
          0.3f, 1 },
        { "double-click resets OUTPUT", &Ed::outputSlider, &Proc::dbOutput, 0.9f,
          [] (juce::Slider& s) { s.mouseDoubleClick (mouseAt (s, 39, 100, leftButton, 2)); }, 0.5f, 1 },
        { "alt-click resets INPUT", &Ed::inputSlider, &Proc::dbInput, 0.2f,
          [] (juce::Slider& s) {
              s.mouseDown (mouseAt (s, 39, 100, leftButton.withFlags (juce::ModifierKeys::altModifier)));
              s.mouseUp (mouseAt (s, 39, 100, juce::ModifierKeys (juce::ModifierKeys::altModifier)));
          },
          0.5f, 1 },
        { "double-click elsewhere does nothing", &Ed::wideSlider, &Proc::dbWide, 0.4f,
          [] (juce::Slider& s) { s.mouseDoubleClick (mouseAt (s, 39, 100, leftButton, 2)); }, 0.4f, 0 },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        auto* parameter = processor.*(c.parameter);
        set (parameter, c.start);
        editor->timerCallback();
        Recorder host;
        parameter->addListener (&host);
        c.act (*((*editor).*(c.slider)));
        parameter->removeListener (&host);
        EXPECT_NEAR (valueOf (parameter), c.expected, 1.0e-6f);
        EXPECT_EQ (host.begins, c.gestures);
        EXPECT_EQ (host.ends, c.gestures);
    }
}
