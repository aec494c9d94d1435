#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

class BriscaAudioProcessor;

class BriscaAudioProcessorEditor : public juce::AudioProcessorEditor
{
public:
    explicit BriscaAudioProcessorEditor (BriscaAudioProcessor&);
    ~BriscaAudioProcessorEditor() override;

    void paint (juce::Graphics&) override;

private:
    BriscaAudioProcessor& processor;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BriscaAudioProcessorEditor)
};
