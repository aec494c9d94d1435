#include "ParameterWrite.h"
#include "PluginEditor.h"
#include "PluginProcessor.h"

#include <cmath>

// Slider movements reach the parameters here, inside the gestures the slider reports, so the
// host records one automation gesture per drag, reset or wheel step.
juce::AudioParameterFloat* BriscaAudioProcessorEditor::getParameterForSlider (juce::Slider* slider)
{
    for (auto* parameter : processorRef.getParameters())
        if (parameter->getName (100) == slider->getName())
            return dynamic_cast<juce::AudioParameterFloat*> (parameter);
    return nullptr;
}

void BriscaAudioProcessorEditor::sliderDragStarted (juce::Slider* slider)
{
    if (auto* parameter = getParameterForSlider (slider))
        parameter->beginChangeGesture();
}

void BriscaAudioProcessorEditor::sliderDragEnded (juce::Slider* slider)
{
    if (auto* parameter = getParameterForSlider (slider))
        parameter->endChangeGesture();
}

void BriscaAudioProcessorEditor::sliderValueChanged (juce::Slider* slider)
{
    auto* parameter = getParameterForSlider (slider);
    if (parameter == nullptr)
        return;

    const double s = slider->getValue();
    double value;
    if (slider == thresholdSlider.get() || slider == attackSlider.get() || slider == releaseSlider.get())
        value = std::pow (s, 3.0);
    else if (slider == inputSlider.get() || slider == rmsSlider.get() || slider == wideSlider.get() || slider == hpSlider.get()
             || slider == kneeSlider.get() || slider == ratioSlider.get() || slider == outputSlider.get()
             || slider == wetSlider.get())
        value = s;
    else
        return;

    // The parameter's own conversion snaps to its 0.001 grid and keeps the value in 0..1.
    const float normalised = parameter->convertTo0to1 ((float) value);
    setAndNotify (*parameter, normalised);
}
