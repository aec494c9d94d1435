#pragma once

#include "ChainKernel.h"

// Block constants of the compressor, computed once per block by the dispatcher.
struct ChainConstants
{
    double threshold, kneeSpan, slope, ratio, windowLength, rms, peakShare;
    double belowKnee;    // detector values under this are certainly below the knee
    double aboveKnee;    // and over this certainly above it
    bool mayDropSmaller; // full link with a real slope: the smaller of two levels above the knee cannot win
    double attack, attackRest, slowAttack, slowAttackRest, release, releaseRest;
    double partialShare;
    bool limitGainToUnity;
    double* rings[2];
};

// Entry points of the instruction-set variants of the kernel.
#define BRISCA_KERNEL_ENTRY(ns)                                                                        \
    namespace ns                                                                                        \
    {                                                                                                   \
    void runChain (CCompress&, const ChainSettings&, const ChainConstants&, double* left, double* right, \
                   const double* sideChain1, const double* sideChain2, int length, bool sharedGain,     \
                   bool peakOnly) noexcept;                                                             \
    }
BRISCA_KERNEL_ENTRY (kernel_sse2)
BRISCA_KERNEL_ENTRY (kernel_avx)
