// A deliberately literal rendering of the signal chain, one Compress call per sample frame and
// no shortcuts. The plug-in's optimised chain must produce the same bits as this.
#include "ReferenceChain.h"

#include "FlushToZero.h"
#include "ParameterWrite.h"

#include <cmath>

namespace
{
constexpr double ln10Single = 2.3025851249694824;

double linearGain (float v) noexcept
{
    const float db = v * 40.0f - 20.0f;
    return std::exp (static_cast<double> (db) / 20.0 * ln10Single);
}

double cleanInput (double x) noexcept
{
    const double c = flushToZero (x);
    return std::fabs (c) >= 100000.0 ? 0.0 : c;
}

// Two identical second-order Butterworth sections per filter (Q = 1/sqrt 2) make a
// fourth-order Linkwitz-Riley response.
void designFilters (CCompress& e, int channel, double crossoverHz, double splitHz, double fs) noexcept
{
    const int base = 8 * channel;
    auto setSections = [&] (int k, double b0, double b1, double b2, double a1, double a2) {
        for (int s = base + k; s < base + k + 2; ++s)
        {
            e.b0[s] = b0; e.b1[s] = b1; e.b2[s] = b2; e.a1[s] = a1; e.a2[s] = a2;
        }
    };
    {
        const double w = crossoverHz * 6.283185307179586 / fs;
        const double s = std::sin (w), c = std::cos (w);
        const double alpha = s / 1.4142136573791504;
        const double n = 1.0 / (1.0 + alpha);
        const double b0 = (1.0 - c) * n * 0.5;
        setSections (0, b0, b0 + b0, b0, c * -2.0 * n, (1.0 - alpha) * n);
    }
    {
        const double w = splitHz * 6.283185307179586 / fs;
        const double s = std::sin (w), c = std::cos (w);
        const double alpha = s / 1.4142136573791504;
        const double n = 1.0 / (1.0 + alpha);
        const double b0 = (1.0 + c) * n * 0.5;
        setSections (2, b0, b0 * -2.0, b0, c * -2.0 * n, (1.0 - alpha) * n);
    }
}

double runSection (CCompress& e, int k, double x) noexcept
{
    x = flushToZero (x);
    double y = (((e.b1[k] * e.x1[k] + e.b0[k] * x) + e.b2[k] * e.x2[k]) - e.a1[k] * e.y1[k]) - e.a2[k] * e.y2[k];
    y = flushToZero (y);
    e.x2[k] = e.x1[k];
    e.x1[k] = x;
    e.y2[k] = e.y1[k];
    e.y1[k] = y;
    return y;
}

double lowPass (CCompress& e, int channel, double x) noexcept
{
    return runSection (e, 8 * channel + 1, runSection (e, 8 * channel, x));
}

double highPass (CCompress& e, int channel, double x) noexcept
{
    return runSection (e, 8 * channel + 3, runSection (e, 8 * channel + 2, x));
}

double largerInSingle (double first, double second) noexcept
{
    const float f1 = static_cast<float> (first);
    const float f2 = static_cast<float> (second);
    return static_cast<double> ((std::isnan (f1) || f2 > f1) ? f2 : f1);
}
} // namespace

void referenceProcessBlock (BriscaAudioProcessor& processor, juce::AudioBuffer<double>& buffer)
{
    auto& p = processor;
    CCompress& e = *p.compressor;
    if (! e.isPrepared())
        return;

    auto main = p.getBusBuffer (buffer, true, 0);
    auto side = p.getBusBuffer (buffer, true, 1);
    const int length = buffer.getNumSamples();

    for (int ch = p.getTotalNumInputChannels(); ch < p.getTotalNumOutputChannels(); ++ch)
        buffer.clear (ch, 0, length);

    const bool stereo = p.getTotalNumOutputChannels() >= 2 && main.getNumChannels() >= 2;
    double* const mainL = main.getNumChannels() > 0 ? main.getWritePointer (0) : nullptr;
    double* const mainR = stereo ? main.getWritePointer (1) : mainL;

    if (! p.dbEnable->get())
        return;

    const double fs = p.getSampleRate();
    const double inputGain = linearGain (p.dbInput->get());
    const double outputGain = linearGain (p.dbOutput->get());
    const double thresholdDb = 20.0 * std::log10 (static_cast<double> (p.dbThreshold->get() * 0.99f + 0.01f));
    const double splitHz = static_cast<double> (p.dbHP->get() * 1950.0f + 50.0f);
    const bool msMode = stereo && p.dbMSInput->get();
    const bool splitOn = p.dbHPEnable->get();
    const bool limitOn = p.dbLimit->get();

    const double* sideChain1 = mainL;
    const double* sideChain2 = mainL;
    bool useSideChain = false;
    if (side.getNumChannels() > 0)
    {
        sideChain1 = side.getReadPointer (0);
        sideChain2 = side.getReadPointer (side.getNumChannels() > 1 ? 1 : 0);
        useSideChain = p.dbSideChain->get();
    }
    else if (p.dbSideChain->get())
    {
        // No key input connected: show the switch off in the host and the editor.
        setAndNotify (*p.dbSideChain, 0.0f);
    }

    designFilters (e, 0, e.crossoverHz, splitHz, fs);
    if (stereo)
        designFilters (e, 1, e.crossoverHz, splitHz, fs);

    if (mainL == nullptr || mainR == nullptr || sideChain1 == nullptr || sideChain2 == nullptr)
        return;

    if (length == 0)
    {
        p.gainReductionDb.store (e.meterReductionDb, std::memory_order_relaxed);
        return;
    }

    const double ratio = static_cast<double> (p.dbRatio->get() * 19.5f + 0.5f);
    const double attackMs = static_cast<double> (p.dbAttack->get() * 100.0f + 0.01f);
    const double releaseMs = static_cast<double> (p.dbRelease->get() * 300.0f + 0.01f);
    const double kneeDb = static_cast<double> (p.dbKnee->get()) * 48.0;
    const double rmsAmount = static_cast<double> (p.dbRMS->get());
    const double wide = static_cast<double> (p.dbWide->get());
    const double widthShare = 0.6000000238418579 * (wide * 0.5 + 0.5) + 0.20000000298023224;
    const double sideGain = wide * 0.5 + 1.0;
    const double wet = static_cast<double> (p.dbWet->get());
    const double dry = 1.0 - wet;
    const double limiterAttack = std::exp (-1000.0 / (0.001 * fs));
    const double limiterRelease = std::exp (-1000.0 / (50.0 * fs));

    for (int i = 0; i < length; ++i)
    {
        const double xL = mainL[i];
        const double xR = mainR[i];
        const double sc1 = cleanInput (sideChain1[i]);
        const double sc2 = cleanInput (sideChain2[i]);

        e.minGainDb = -160.0;
        double c0 = cleanInput (xL);
        double c1 = cleanInput (xR);

        e.stereoLink = 2.0;
        if (msMode)
        {
            e.stereoLink = 0.5;
            const double mid = (c0 + c1) * 0.5;
            const double sideSig = (c1 - c0) * 0.5;
            c0 = mid;
            c1 = sideSig;
        }
        const double dry0 = c0, dry1 = c1;

        double out1 = 0.0, out2 = 0.0;
        if (! stereo)
        {
            const double h0 = highPass (e, 0, c0);
            const double h1 = highPass (e, 1, c1);
            if (splitOn)
            {
                e.Compress (c0 - h0, c1 - h1, sc1, sc2, rmsAmount, &out1, &out2, fs, inputGain, outputGain,
                            thresholdDb, ratio, attackMs, releaseMs, kneeDb, e.stereoLink, true, useSideChain);
                out1 = out1 + h0 * outputGain;
            }
            else
                e.Compress (c0, c1, sc1, sc2, rmsAmount, &out1, &out2, fs, inputGain, outputGain,
                            thresholdDb, ratio, attackMs, releaseMs, kneeDb, e.stereoLink, true, useSideChain);
        }
        else
        {
            const double l0 = lowPass (e, 0, c0);
            const double l1 = lowPass (e, 1, c1);
            double w0, w1;
            if (msMode)
            {
                w0 = c0;
                w1 = c1 * sideGain;
            }
            else
            {
                const double e0 = c0 - l0, e1 = c1 - l1;
                const double em = (e0 + e1) * 0.5;
                const double es = e1 - e0;
                w0 = em * (1.0 - widthShare) + (em - es) * widthShare + l0;
                w1 = em * (1.0 - widthShare) + (em + es) * widthShare + l1;
            }
            const double p0 = highPass (e, 0, w0);
            const double p1 = highPass (e, 1, w1);
            if (splitOn)
            {
                e.Compress (w0 - p0, w1 - p1, sc1, sc2, rmsAmount, &out1, &out2, fs, inputGain, outputGain,
                            thresholdDb, ratio, attackMs, releaseMs, kneeDb, e.stereoLink, false, useSideChain);
                out1 = out1 + p0 * outputGain;
                out2 = out2 + p1 * outputGain;
            }
            else
                e.Compress (w0, w1, sc1, sc2, rmsAmount, &out1, &out2, fs, inputGain, outputGain,
                            thresholdDb, ratio, attackMs, releaseMs, kneeDb, e.stereoLink, false, useSideChain);
        }

        double y0 = dry0 * dry + out1 * wet;
        double y1 = dry1 * dry + out2 * wet;
        if (msMode)
        {
            const double t = y0;
            y0 = t - y1;
            y1 = y1 + t;
        }

        if (! limitOn)
        {
            mainL[i] = y0;
            if (stereo)
                mainR[i] = y1;
        }
        else
        {
            if (e.limiterSampleRate != fs)
            {
                e.limiterAttackCoef = limiterAttack;
                e.limiterReleaseCoef = limiterRelease;
                e.limiterSampleRate = fs;
            }
            const int channels = stereo ? 2 : 1;
            double u[2] = { flushToZero (y0), flushToZero (y1) };
            double r[2] = { 0.0, 0.0 };
            for (int c = 0; c < channels; ++c)
            {
                const double level = flushToZero (u[c] == 0.0 ? -160.0 : 20.0 * std::log10 (std::fabs (u[c])));
                // Threshold -0.1 dB, ratio 100.
                const double target = 2.0 * (level + 0.1) < -0.01 ? level : flushToZero ((level + 0.1) / 100.0 - 0.1);
                r[c] = level - target;
            }
            if (stereo)
                r[0] = r[1] = largerInSingle (r[0], r[1]);
            for (int c = 0; c < channels; ++c)
            {
                const double heldBefore = flushToZero (e.limiterHeldDb[c]);
                const double smoothedBefore = flushToZero (e.limiterSmoothedDb[c]);
                const double h = (1.0 - e.limiterReleaseCoef) * r[c] + e.limiterReleaseCoef * heldBefore;
                const double held = r[c] > h ? r[c] : h;
                const double smoothed = flushToZero ((1.0 - e.limiterAttackCoef) * held + e.limiterAttackCoef * smoothedBefore);
                const double gain = std::exp (smoothed / -20.0 * ln10Single);
                (c == 0 ? mainL : mainR)[i] = u[c] * gain;
                e.limiterSmoothedDb[c] = smoothed;
                e.limiterHeldDb[c] = flushToZero (held);
            }
            if (! stereo)
                e.limiterSmoothedDb[1] = e.limiterHeldDb[1] = 0.0;
        }

        e.meterReductionDb = flushToZero (e.reductionDb);
    }

    p.gainReductionDb.store (e.meterReductionDb, std::memory_order_relaxed);
}
