// Built with -mavx; only called where the processor has AVX.
#define BRISCA_KERNEL_NS kernel_avx
#include "ChainKernelBody.h"
