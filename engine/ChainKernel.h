#pragma once

#include "CCompress.h"

// The per-sample part of the signal chain for one block, free of any framework. The block's
// settings are fixed before the loop, so everything they decide is decided once.
struct ChainSettings
{
    double sampleRate = 48000.0;
    double inputGain = 1.0, outputGain = 1.0;
    double thresholdDb = 0.0, ratio = 1.0, attackMs = 1.0, releaseMs = 1.0, kneeDb = 0.0;
    double rmsAmount = 0.0;
    double widthShare = 0.5; // crossover width share a
    double sideGain = 1.0;   // mid/side side gain
    double wet = 1.0, dry = 0.0;
    double limiterAttackCoef = 0.0, limiterReleaseCoef = 0.0; // candidates for this rate
    bool stereo = true, midSide = false, split = false, limit = false, useSideChain = false;
};

// The kernel is built for SSE2 and for AVX; both give the same bits and the AVX one is used
// where the processor has it. Tests can force either.
enum class ChainKernelIsa { sse2, avx };
ChainKernelIsa chainKernelIsa() noexcept;
void setChainKernelIsa (ChainKernelIsa isa) noexcept;

// Writes the crossover low-pass and split high-pass sections of one channel (0 or 1).
void designChannelFilters (CCompress& engine, int channel, double splitHz, double sampleRate) noexcept;

// Processes length > 0 frames in place. right may equal left (mono). The side-chain pointers
// may alias left; every input of a frame is read before the frame is written.
void processChain (CCompress& engine, const ChainSettings& settings, double* left, double* right,
                   const double* sideChain1, const double* sideChain2, int length) noexcept;
