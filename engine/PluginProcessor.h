#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include "CCompress.h"

#include <array>
#include <atomic>
#include <memory>

class ProgramSet;

class BriscaAudioProcessor : public juce::AudioProcessor
{
public:
    BriscaAudioProcessor();
    ~BriscaAudioProcessor() override;

    const juce::String getName() const override;
    void prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock) override;
    void releaseResources() override;
    void processBlock (juce::AudioBuffer<float>&, juce::MidiBuffer&) override;
    void processBlock (juce::AudioBuffer<double>&, juce::MidiBuffer&) override;
    double getTailLengthSeconds() const override;
    bool acceptsMidi() const override;
    bool producesMidi() const override;
    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override;
    int getNumPrograms() override;
    int getCurrentProgram() override;
    void setCurrentProgram (int index) override;
    const juce::String getProgramName (int index) override;
    void changeProgramName (int index, const juce::String& newName) override;
    void getStateInformation (juce::MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;
    bool isBusesLayoutSupported (const BusesLayout& layouts) const override;

    std::unique_ptr<ProgramSet> programSet;
    bool stateRestored = false;
    int lastProgramIndex = -1;

    juce::AudioParameterBool* dbEnable = nullptr;
    juce::AudioParameterBool* dbSideChain = nullptr;
    juce::AudioParameterBool* dbHPEnable = nullptr;
    juce::AudioParameterBool* dbLimit = nullptr;
    juce::AudioParameterBool* dbMSInput = nullptr;
    juce::AudioParameterFloat* dbInput = nullptr;
    juce::AudioParameterFloat* dbRMS = nullptr;
    juce::AudioParameterFloat* dbWide = nullptr;
    juce::AudioParameterFloat* dbHP = nullptr;
    juce::AudioParameterFloat* dbKnee = nullptr;
    juce::AudioParameterFloat* dbThreshold = nullptr;
    juce::AudioParameterFloat* dbRatio = nullptr;
    juce::AudioParameterFloat* dbAttack = nullptr;
    juce::AudioParameterFloat* dbRelease = nullptr;
    juce::AudioParameterFloat* dbOutput = nullptr;
    juce::AudioParameterFloat* dbWet = nullptr;

    // Written by the audio thread at the end of each block, polled by the editor's meter.
    std::atomic<double> gainReductionDb { 0.0 };

    std::unique_ptr<CCompress> compressor;

private:
    void createParameters();
    std::array<juce::RangedAudioParameter*, 16> parametersInStateOrder() const;

    // The precision bridge reuses one double buffer sized in prepareToPlay, so the audio
    // thread never allocates; larger host blocks are processed in slices of that size.
    juce::AudioBuffer<double> bridgeBuffer;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BriscaAudioProcessor)
};
