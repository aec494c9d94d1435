#define BRISCA_KERNEL_NS kernel_sse2
#include "ChainKernelBody.h"
