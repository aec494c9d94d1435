#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

// Four bars of drums and bass at 120 BPM, synthesised in code so the demo needs no files:
// kick, snare, hi-hats and a bass line, stereo, peaking at -1 dBFS. The same samples every run.
juce::AudioBuffer<float> makeDemoSignal (double sampleRate);

constexpr double demoSampleRate = 48000.0;

// The settings the demo is rendered with unless the command line brings a program or a state:
// a bus compressor that audibly pumps on the kick.
juce::StringArray demoSettings();
