#include "PluginProcessor.h"

#include "ProgramSet.h"
#include "../editor/PluginEditor.h"

BriscaAudioProcessor::BriscaAudioProcessor()
    : juce::AudioProcessor (BusesProperties()
                                .withInput ("Input", juce::AudioChannelSet::stereo(), true)
                                .withOutput ("Output", juce::AudioChannelSet::stereo(), true)
                                .withInput ("Sidechain", juce::AudioChannelSet::stereo(), true))
{
    compressor = std::make_unique<CCompress>();
    createParameters();
    programSet = std::make_unique<ProgramSet> (*this);
    programSet->ChangeProgram (0, false);
}

BriscaAudioProcessor::~BriscaAudioProcessor()
{
    compressor.reset();
    programSet.reset();
}

const juce::String BriscaAudioProcessor::getName() const { return "Brisca"; }

void BriscaAudioProcessor::prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock)
{
    compressor->Reset (sampleRate);

    const int channels = juce::jmax (getTotalNumInputChannels(), getTotalNumOutputChannels(), 2);
    bridgeBuffer.setSize (channels, juce::jmax (maximumExpectedSamplesPerBlock, 512), false, true, false);
}

void BriscaAudioProcessor::releaseResources() {}

void BriscaAudioProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi)
{
    // Not prepared yet: there is no detector window to run on, so the audio passes unchanged.
    if (! compressor->isPrepared())
        return;

    const int channels = buffer.getNumChannels();
    const int length = buffer.getNumSamples();
    const int outputChannels = juce::jmin (channels, getTotalNumOutputChannels());
    if (channels > bridgeBuffer.getNumChannels())
        bridgeBuffer.setSize (channels, bridgeBuffer.getNumSamples(), false, false, true); // only if a host breaks its promise

    // Slices give the same result as one call: the block start only re-reads parameters and
    // rewrites coefficients, and all state carries over.
    const int capacity = bridgeBuffer.getNumSamples();
    int start = 0;
    do
    {
        const int slice = juce::jmin (capacity, length - start);
        juce::AudioBuffer<double> view (bridgeBuffer.getArrayOfWritePointers(), channels, slice);
        for (int ch = 0; ch < channels; ++ch)
        {
            const float* in = buffer.getReadPointer (ch, start);
            double* out = view.getWritePointer (ch);
            for (int i = 0; i < slice; ++i)
                out[i] = static_cast<double> (in[i]);
        }

        processBlock (view, midi);

        // Only output channels can change; input-only channels (the side chain) go back as they
        // came, so they need no copy.
        for (int ch = 0; ch < outputChannels; ++ch)
        {
            const double* in = view.getReadPointer (ch);
            float* out = buffer.getWritePointer (ch, start);
            for (int i = 0; i < slice; ++i)
                out[i] = static_cast<float> (in[i]);
        }
        start += slice;
    } while (start < length);
}

double BriscaAudioProcessor::getTailLengthSeconds() const { return 0.0; }
bool BriscaAudioProcessor::acceptsMidi() const { return false; }
bool BriscaAudioProcessor::producesMidi() const { return false; }
juce::AudioProcessorEditor* BriscaAudioProcessor::createEditor() { return new BriscaAudioProcessorEditor (*this); }
bool BriscaAudioProcessor::hasEditor() const { return true; }

int BriscaAudioProcessor::getNumPrograms() { return ProgramSet::numPrograms; }
int BriscaAudioProcessor::getCurrentProgram() { return programSet->currentProgram; }

void BriscaAudioProcessor::setCurrentProgram (int index)
{
    // A host that restores a project and then re-selects its program must keep the restored
    // values; selecting the same program twice is harmless.
    if (index == lastProgramIndex)
        return;
    programSet->ChangeProgram (index, stateRestored);
    stateRestored = false;
    lastProgramIndex = index;
}

const juce::String BriscaAudioProcessor::getProgramName (int index) { return ProgramSet::GetName (index); }
void BriscaAudioProcessor::changeProgramName (int, const juce::String&) {}

bool BriscaAudioProcessor::isBusesLayoutSupported (const BusesLayout& layouts) const
{
    const auto output = layouts.getMainOutputChannelSet();
    if (output != juce::AudioChannelSet::mono() && output != juce::AudioChannelSet::stereo())
        return false;
    // The side chain is not examined: the chain adapts to none, one or two channels.
    return output == layouts.getMainInputChannelSet();
}
