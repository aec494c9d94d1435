#include "PluginEditor.h"
#include "PluginProcessor.h"
#include "ReadoutValues.h"

#include <cmath>

// The 50 ms poll: the editor learns about parameter changes and the meter only here.
void BriscaAudioProcessorEditor::timerCallback()
{
    auto& p = processorRef;
    // The host-facing normalised values, read through the parameter base class.
    const auto valueOf = [] (const juce::AudioProcessorParameter* parameter) { return parameter->getValue(); };
    const auto isOn = [&] (const juce::AudioParameterBool* b) { return valueOf (b) >= 0.5f; };
    enableButton->setToggleState (isOn (p.dbEnable), juce::dontSendNotification);
    sideChainButton->setToggleState (isOn (p.dbSideChain), juce::dontSendNotification);
    hpEnableButton->setToggleState (isOn (p.dbHPEnable), juce::dontSendNotification);
    limitButton->setToggleState (isOn (p.dbLimit), juce::dontSendNotification);
    msInputButton->setToggleState (isOn (p.dbMSInput), juce::dontSendNotification);

    const float input = valueOf (p.dbInput), rms = valueOf (p.dbRMS), wide = valueOf (p.dbWide),
                hp = valueOf (p.dbHP), knee = valueOf (p.dbKnee), ratio = valueOf (p.dbRatio),
                threshold = valueOf (p.dbThreshold), attack = valueOf (p.dbAttack),
                release = valueOf (p.dbRelease), output = valueOf (p.dbOutput), wet = valueOf (p.dbWet);

    // THRESHOLD, ATTACK and RELEASE move on a cube law: the slider shows the cube root.
    const auto cubeRoot = [] (float v) { return std::pow ((double) v, 0.33333); };
    inputSlider->setValue (input, juce::dontSendNotification);
    rmsSlider->setValue (rms, juce::dontSendNotification);
    wideSlider->setValue (wide, juce::dontSendNotification);
    hpSlider->setValue (hp, juce::dontSendNotification);
    kneeSlider->setValue (knee, juce::dontSendNotification);
    ratioSlider->setValue (ratio, juce::dontSendNotification);
    thresholdSlider->setValue (cubeRoot (threshold), juce::dontSendNotification);
    attackSlider->setValue (cubeRoot (attack), juce::dontSendNotification);
    releaseSlider->setValue (cubeRoot (release), juce::dontSendNotification);
    outputSlider->setValue (output, juce::dontSendNotification);
    wetSlider->setValue (wet, juce::dontSendNotification);

    using namespace brisca::readout;
    inputDisplay = gainDb (input);
    rmsDisplay = percent (rms);
    wideDisplay = percent (wide);
    hpDisplay = highPassHz (hp);
    kneeDisplay = kneeDb (knee);
    ratioDisplay = brisca::readout::ratio (ratio);
    thresholdDisplay = thresholdDb (threshold);
    attackDisplay = attackMs (attack);
    releaseDisplay = releaseMs (release);
    outputDisplay = gainDb (output);
    wetDisplay = percent (wet);

    const double gainReduction = p.gainReductionDb.load (std::memory_order_relaxed);
    grLedCount = ledCount (gainReduction);
    grPeakHoldDb = heldPeak (grPeakHoldDb, gainReduction);

    if (! isShowing())
        return;
    notificationButton.setVisible (newVersionAvailable.load (std::memory_order_relaxed));
    // One rendering at a time: a tick that finds the last one still pending adds nothing.
    if (isUpdatePending())
        return;
    triggerAsyncUpdate();
    repaint();
}

void BriscaAudioProcessorEditor::handleAsyncUpdate()
{
    drawBG();
}
