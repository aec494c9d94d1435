#include "ParameterSet.h"
#include "PluginProcessor.h"

void BriscaAudioProcessor::createParameters()
{
    auto addToggle = [this] (int index) {
        const auto& info = brisca::parameterTable[index];
        auto* p = new juce::AudioParameterBool (juce::ParameterID { info.id, 1 }, info.name, info.defaultValue >= 0.5f, juce::String());
        addParameter (p);
        return p;
    };
    auto addContinuous = [this] (int index) {
        const auto& info = brisca::parameterTable[index];
        auto* p = new juce::AudioParameterFloat (juce::ParameterID { info.id, 1 }, info.name, 0.0f, 1.0f, info.defaultValue);
        // The text conversion keeps the constructor's two decimals; values snap to 0.001.
        p->range = juce::NormalisableRange<float> (0.0f, 1.0f, 0.001f);
        addParameter (p);
        return p;
    };

    dbEnable    = addToggle (0);
    dbSideChain = addToggle (1);
    dbHPEnable  = addToggle (2);
    dbInput     = addContinuous (3);
    dbRMS       = addContinuous (4);
    dbWide      = addContinuous (5);
    dbHP        = addContinuous (6);
    dbKnee      = addContinuous (7);
    dbRatio     = addContinuous (8);
    dbThreshold = addContinuous (9);
    dbAttack    = addContinuous (10);
    dbRelease   = addContinuous (11);
    dbOutput    = addContinuous (12);
    dbLimit     = addToggle (13);
    dbMSInput   = addToggle (14);
    dbWet       = addContinuous (15);
}
