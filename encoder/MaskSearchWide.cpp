// The mask penalty with one 256-bit register per line (AVX-512VL with vector
// popcount, so the counts stay in registers). Only this file is compiled for
// those instructions, and only after the CPU reported them is it called:
// the program itself stays x86-64-v2.
#include "MaskSearch.h"

#include <cstdint>

#include "CpuFeatures.h"
#include "MaskPatterns.h"
#include "PenaltyRules.h"

#if defined(__x86_64__) && defined(__GNUC__)

#include <immintrin.h>

// Everything from here on may use the wide instructions; the shared headers
// above stay compiled for the baseline.
// Clang (the fuzz build) has no GCC target pragma; its attribute does the same.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2,avx512f,avx512vl,avx512vpopcntdq"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2,avx512f,avx512vl,avx512vpopcntdq")
#endif

#include "PenaltyLines.h"

namespace mosaiko {
namespace {

#include "VectorPenalty.h"

inline __m256i LaneCounts(__m256i a) { return _mm256_popcnt_epi64(a); }
inline __m256i Load(const Line& line) { return _mm256_maskz_loadu_epi64(0x7, line.w); }

}  // namespace

int WidePenalty(const MaskLines& lines, int n, int mask) { return VectorPenalty(lines, n, mask); }

}  // namespace mosaiko

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

namespace mosaiko {
bool WideKernelAvailable() { return CpuHasAvx512Popcount(); }
}  // namespace mosaiko

#else

namespace mosaiko {
int WidePenalty(const MaskLines&, int, int) { return -1; }
bool WideKernelAvailable() { return false; }
}  // namespace mosaiko

#endif
