// The penalties of the eight masks with AVX-512VL's vector popcount, which
// counts each lane's bits in one instruction. Only this file is compiled for
// those instructions, and only after the CPU reported them is it called:
// the program itself stays x86-64-v2.
#include "MaskSearch.h"

#include <cstdint>

#include "CpuFeatures.h"
#include "TargetRegion.h"
#include "MaskPatterns.h"
#include "PenaltyRules.h"

#if defined(__x86_64__) && defined(__GNUC__)

#include <immintrin.h>

// Everything from here on may use the wide instructions; the shared headers
// above stay compiled for the baseline.
MOSAIKO_TARGET_BEGIN("avx2,avx512f,avx512vl,avx512vpopcntdq")

#include "PenaltyLines.h"

namespace mosaiko {
namespace {

#include "VectorPenalty.h"

template <int W>
inline __m256i WordCounts(const __m256i (&w)[W]) {
    __m256i counts = _mm256_popcnt_epi64(w[0]);
    for (int i = 1; i < W; ++i) counts = _mm256_add_epi64(counts, _mm256_popcnt_epi64(w[i]));
    return counts;
}

}  // namespace

void WidePenalties(const MaskLines& lines, int n, int scores[8]) { VectorPenalties(lines, n, scores); }

}  // namespace mosaiko

MOSAIKO_TARGET_END

namespace mosaiko {
bool WideKernelAvailable() { return CpuHasAvx512Popcount(); }
}  // namespace mosaiko

#else

namespace mosaiko {
void WidePenalties(const MaskLines&, int, int*) {}
bool WideKernelAvailable() { return false; }
}  // namespace mosaiko

#endif
