#include "ChainKernel.h"
#include "FlushToZero.h"
#include "ParameterWrite.h"
#include "PluginProcessor.h"

#include <cmath>

namespace
{
constexpr double ln10Single = 2.3025851249694824;

// The value the block runs with. A host can store NaN in a parameter; that must never reach
// the audio, so such a parameter runs at its default until it gets a number again.
float valueOf (juce::AudioParameterFloat& parameter) noexcept
{
    const float v = parameter.get();
    return std::isnan (v) ? static_cast<juce::AudioProcessorParameter&> (parameter).getDefaultValue() : v;
}

double linearGain (float v) noexcept
{
    const float db = v * 40.0f - 20.0f;
    return std::exp (static_cast<double> (db) / 20.0 * ln10Single);
}
} // namespace

void BriscaAudioProcessor::processBlock (juce::AudioBuffer<double>& buffer, juce::MidiBuffer&)
{
    CCompress& e = *compressor;
    if (! e.isPrepared())
        return; // never prepared: there is no detector window yet, so pass the audio through

    auto main = getBusBuffer (buffer, true, 0);
    auto side = getBusBuffer (buffer, true, 1);
    const int length = buffer.getNumSamples();

    for (int ch = getTotalNumInputChannels(); ch < getTotalNumOutputChannels(); ++ch)
        buffer.clear (ch, 0, length);

    ChainSettings s;
    s.stereo = getTotalNumOutputChannels() >= 2 && main.getNumChannels() >= 2;
    double* const left = main.getNumChannels() > 0 ? main.getWritePointer (0) : nullptr;
    double* const right = s.stereo ? main.getWritePointer (1) : left;

    if (! dbEnable->get())
        return;

    // Every parameter is read once here and holds for the whole block.
    s.sampleRate = getSampleRate();
    s.inputGain = linearGain (valueOf (*dbInput));
    s.outputGain = linearGain (valueOf (*dbOutput));
    s.thresholdDb = 20.0 * std::log10 (static_cast<double> (valueOf (*dbThreshold) * 0.99f + 0.01f));
    const double splitHz = static_cast<double> (valueOf (*dbHP) * 1950.0f + 50.0f);
    s.midSide = s.stereo && dbMSInput->get();
    s.split = dbHPEnable->get();
    s.limit = dbLimit->get();

    const double* sideChain1 = left;
    const double* sideChain2 = left;
    if (side.getNumChannels() > 0)
    {
        sideChain1 = side.getReadPointer (0);
        sideChain2 = side.getReadPointer (side.getNumChannels() > 1 ? 1 : 0);
        s.useSideChain = dbSideChain->get();
    }
    else if (dbSideChain->get())
    {
        // No key input connected: show the switch off in the host and the editor.
        setAndNotify (*dbSideChain, 0.0f);
    }

    designChannelFilters (e, 0, splitHz, s.sampleRate);
    if (s.stereo)
        designChannelFilters (e, 1, splitHz, s.sampleRate);

    if (left == nullptr || right == nullptr || sideChain1 == nullptr || sideChain2 == nullptr)
        return;

    if (length == 0)
    {
        gainReductionDb.store (e.meterReductionDb, std::memory_order_relaxed);
        return;
    }

    s.ratio = static_cast<double> (valueOf (*dbRatio) * 19.5f + 0.5f);
    s.attackMs = static_cast<double> (valueOf (*dbAttack) * 100.0f + 0.01f);
    s.releaseMs = static_cast<double> (valueOf (*dbRelease) * 300.0f + 0.01f);
    s.kneeDb = static_cast<double> (valueOf (*dbKnee)) * 48.0;
    s.rmsAmount = static_cast<double> (valueOf (*dbRMS));
    const double wide = static_cast<double> (valueOf (*dbWide));
    s.widthShare = 0.6000000238418579 * (wide * 0.5 + 0.5) + 0.20000000298023224;
    s.sideGain = wide * 0.5 + 1.0;
    s.wet = static_cast<double> (valueOf (*dbWet));
    s.dry = 1.0 - s.wet;
    s.limiterAttackCoef = std::exp (-1000.0 / (0.001 * s.sampleRate));
    s.limiterReleaseCoef = std::exp (-1000.0 / (50.0 * s.sampleRate));

    processChain (e, s, left, right, sideChain1, sideChain2, length);

    gainReductionDb.store (e.meterReductionDb, std::memory_order_relaxed);
}
