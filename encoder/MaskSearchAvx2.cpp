// The mask penalty with one 256-bit register per line on CPUs with AVX2 but
// without AVX-512's vector popcount: the bits of each lane are counted a
// nibble at a time by table look-up. Only this file is compiled for AVX2,
// and it is called only after the CPU reported it.
#include "MaskSearch.h"

#include <cstdint>

#include "CpuFeatures.h"
#include "MaskPatterns.h"
#include "PenaltyRules.h"

#if defined(__x86_64__) && defined(__GNUC__)

#include <immintrin.h>

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif

#include "PenaltyLines.h"

namespace mosaiko {
namespace {

#include "VectorPenalty.h"

// Bits set in each 64-bit lane: a nibble's count from a table, bytes summed per lane.
inline __m256i LaneCounts(__m256i a) {
    const __m256i table = _mm256_setr_epi8(0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4,
                                           0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4);
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    const __m256i low = _mm256_shuffle_epi8(table, _mm256_and_si256(a, nibble));
    const __m256i high = _mm256_shuffle_epi8(table, _mm256_and_si256(_mm256_srli_epi16(a, 4), nibble));
    return _mm256_sad_epu8(_mm256_add_epi8(low, high), _mm256_setzero_si256());
}

inline __m256i Load(const Line& line) {
    return _mm256_maskload_epi64(reinterpret_cast<const long long*>(line.w), _mm256_setr_epi64x(-1, -1, -1, 0));
}

}  // namespace

int Avx2Penalty(const MaskLines& lines, int n, int mask) { return VectorPenalty(lines, n, mask); }

}  // namespace mosaiko

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

namespace mosaiko {
bool Avx2KernelAvailable() { return CpuHasAvx2(); }
}  // namespace mosaiko

#else

namespace mosaiko {
int Avx2Penalty(const MaskLines&, int, int) { return -1; }
bool Avx2KernelAvailable() { return false; }
}  // namespace mosaiko

#endif
