#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

// Ten seconds of 48 kHz stereo: independent pink noise per channel with kick and snare bursts
// common to both, normalised to -1 dBFS. Deterministic, so runs compare.
juce::AudioBuffer<float> makeBenchSignal (double sampleRate = 48000.0, double seconds = 10.0);

class BriscaAudioProcessor;

// The comparison setting: threshold about -20 dBFS, ratio 4, attack 10 ms, release 100 ms,
// stereo, every other stage off.
void applyReferenceSetting (BriscaAudioProcessor& processor);

// Sets a parameter by ID to a normalised value through the host path.
void setParameter (BriscaAudioProcessor& processor, const char* id, float normalised);
