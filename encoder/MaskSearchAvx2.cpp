// The penalties of the eight masks on CPUs with AVX2 but without AVX-512's
// vector popcount: the bits of each lane are counted a nibble at a time by
// table look-up. Only this file is compiled for AVX2,
// and it is called only after the CPU reported it.
#include "MaskSearch.h"

#include <cstdint>

#include "CpuFeatures.h"
#include "TargetRegion.h"
#include "MaskPatterns.h"
#include "PenaltyRules.h"

#if defined(__x86_64__) && defined(__GNUC__)

#include <immintrin.h>

MOSAIKO_TARGET_BEGIN("avx2")

#include "PenaltyLines.h"

namespace mosaiko {
namespace {

#include "VectorPenalty.h"

// Bits set in each 64-bit lane: the bytes' counts added up, then summed per lane.
template <int W>
inline __m256i WordCounts(const __m256i (&w)[W]) {
    __m256i bytes = ByteCounts(w[0]);
    for (int i = 1; i < W; ++i) bytes = _mm256_add_epi8(bytes, ByteCounts(w[i]));
    return _mm256_sad_epu8(bytes, _mm256_setzero_si256());
}

}  // namespace

void Avx2Penalties(const MaskLines& lines, int n, int scores[8]) { VectorPenalties(lines, n, scores); }

}  // namespace mosaiko

MOSAIKO_TARGET_END

namespace mosaiko {
bool Avx2KernelAvailable() { return CpuHasAvx2(); }
}  // namespace mosaiko

#else

namespace mosaiko {
void Avx2Penalties(const MaskLines&, int, int*) {}
bool Avx2KernelAvailable() { return false; }
}  // namespace mosaiko

#endif
