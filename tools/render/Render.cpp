#include "Render.h"

namespace
{
juce::AudioChannelSet channelSet (int channels)
{
    return channels == 1 ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::stereo();
}

// Reads numSamples from position start; past the end of the source the channels are silent.
bool readPadded (juce::AudioFormatReader& reader, float* const* channels, int numChannels, juce::int64 start, int numSamples)
{
    const auto available = static_cast<int> (juce::jlimit<juce::int64> (0, numSamples, reader.lengthInSamples - start));
    for (int ch = 0; ch < numChannels; ++ch)
        juce::FloatVectorOperations::clear (channels[ch] + available, numSamples - available);
    return available == 0 || reader.read (channels, numChannels, start, available);
}
} // namespace

juce::String render (BriscaAudioProcessor& processor, juce::AudioFormatReader& input, juce::AudioFormatReader* sideChain,
                     juce::AudioFormatWriter& output, int blockSize, const RenderObserver& observer)
{
    const int mainChannels = static_cast<int> (input.numChannels);
    const int sideChannels = sideChain != nullptr ? static_cast<int> (sideChain->numChannels) : 0;

    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (channelSet (mainChannels));
    layout.inputBuses.add (sideChannels > 0 ? channelSet (sideChannels) : juce::AudioChannelSet::disabled());
    layout.outputBuses.add (channelSet (mainChannels));
    if (! processor.setBusesLayout (layout))
        return "the processor refused the bus layout for " + juce::String (mainChannels) + " main and "
               + juce::String (sideChannels) + " side-chain channel(s)";

    const double sampleRate = input.sampleRate;
    processor.setNonRealtime (true);
    processor.setRateAndBufferSizeDetails (sampleRate, blockSize);
    processor.prepareToPlay (sampleRate, blockSize);

    // Main channels first, then the side chain: the order of the processor's input buses.
    juce::AudioBuffer<float> buffer (juce::jmax (processor.getTotalNumInputChannels(), processor.getTotalNumOutputChannels()), blockSize);
    juce::MidiBuffer midi;
    float* const* channels = buffer.getArrayOfWritePointers();

    juce::String error;
    for (juce::int64 position = 0; position < input.lengthInSamples;)
    {
        const int n = static_cast<int> (juce::jmin<juce::int64> (blockSize, input.lengthInSamples - position));
        if (! readPadded (input, channels, mainChannels, position, n))
        {
            error = "reading the input failed at sample " + juce::String (position);
            break;
        }
        if (sideChain != nullptr && ! readPadded (*sideChain, channels + mainChannels, sideChannels, position, n))
        {
            error = "reading the side chain failed at sample " + juce::String (position);
            break;
        }
        if (observer.input)
            observer.input (channels, mainChannels, n);
        if (observer.sideChain && sideChannels > 0)
            observer.sideChain (channels + mainChannels, sideChannels, n);

        juce::AudioBuffer<float> block (channels, buffer.getNumChannels(), n);
        processor.processBlock (block, midi);
        position += n;

        if (observer.output)
            observer.output (channels, mainChannels, n);
        if (observer.reduction)
            observer.reduction (position, processor.gainReductionDb.load (std::memory_order_relaxed));
        if (! output.writeFromFloatArrays (channels, mainChannels, n))
        {
            error = "writing the output failed (disk full?)";
            break;
        }
        if (observer.progress)
            observer.progress (position);
    }
    processor.releaseResources();
    return error;
}
