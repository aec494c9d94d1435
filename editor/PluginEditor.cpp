#include "PluginEditor.h"

#include "PluginProcessor.h"

BriscaAudioProcessorEditor::BriscaAudioProcessorEditor (BriscaAudioProcessor& p)
    : juce::AudioProcessorEditor (p), processor (p)
{
    setSize (1045, 410);
}

BriscaAudioProcessorEditor::~BriscaAudioProcessorEditor() = default;

void BriscaAudioProcessorEditor::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (0xff202020));
}
