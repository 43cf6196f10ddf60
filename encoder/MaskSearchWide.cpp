// The mask penalty with one 256-bit register per line (AVX-512VL with vector
// popcount, so the counts stay in registers). Only this file is compiled for
// those instructions, and only after the CPU reported them is it called:
// the program itself stays x86-64-v2.
#include "MaskSearch.h"

#include <cstdint>

#include "MaskPatterns.h"
#include "PenaltyRules.h"

#if defined(__x86_64__) && defined(__GNUC__)

#include <immintrin.h>

// Everything from here on may use the wide instructions; the shared headers
// above stay compiled for the baseline.
#pragma GCC push_options
#pragma GCC target("avx2,avx512f,avx512vl,avx512vpopcntdq")

#include "PenaltyLines.h"

namespace mosaiko {
namespace {

using Line = masks::Line;
using namespace penaltylines;

// One line in words 0-2; word 3 is 0 in every value that is shifted.
struct V {
    __m256i v;
};
struct Counts {
    __m256i v;
    Counts& operator+=(const Counts& c) {
        v = _mm256_add_epi64(v, c.v);
        return *this;
    }
};

inline V operator&(V a, V b) { return {_mm256_and_si256(a.v, b.v)}; }
inline V operator^(V a, V b) { return {_mm256_xor_si256(a.v, b.v)}; }
inline V Without(V a, V b) { return {_mm256_andnot_si256(b.v, a.v)}; }
inline Counts Count(V a) { return {_mm256_popcnt_epi64(a.v)}; }

template <int K>
inline V Shr(V x) {  // words moved down by one: (w1, w2, w3, w3), w3 being 0
    const __m256i down = _mm256_permute4x64_epi64(x.v, _MM_SHUFFLE(3, 3, 2, 1));
    return {_mm256_or_si256(_mm256_srli_epi64(x.v, K), _mm256_slli_epi64(down, 64 - K))};
}

inline V Shl1(V x) {  // words moved up by one: (w3, w0, w1, w2), w3 being 0
    const __m256i up = _mm256_permute4x64_epi64(x.v, _MM_SHUFFLE(2, 1, 0, 3));
    return {_mm256_or_si256(_mm256_slli_epi64(x.v, 1), _mm256_srli_epi64(up, 63))};
}

inline __m256i Load(const Line& line) { return _mm256_maskz_loadu_epi64(0x7, line.w); }

inline V Masked(const Line& dark, const Line& data, const Line& free, const Line& pattern) {
    const __m256i flipped = _mm256_and_si256(_mm256_xor_si256(Load(data), Load(pattern)), Load(free));
    return {_mm256_or_si256(Load(dark), flipped)};
}

V LowBits(int count) {
    Line line{};
    for (int b = 0; b < count; ++b) line.w[b / 64] |= uint64_t{1} << (b % 64);
    return {Load(line)};
}

int Total(const Counts& c) {
    alignas(32) uint64_t lanes[4];
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), c.v);
    return static_cast<int>(lanes[0] + lanes[1] + lanes[2] + lanes[3]);
}

}  // namespace

int WidePenalty(const MaskLines& lines, int n, int mask) {
    const LineMasks<V> m{LowBits(n - 1), LowBits(n - 6)};
    const Counts zero{_mm256_setzero_si256()};
    Sums<Counts> s{zero, zero, zero, zero, zero};
    V previous{_mm256_setzero_si256()}, previousSame{_mm256_setzero_si256()};
    const auto& rowPatterns = masks::kRows[mask];
    const auto& columnPatterns = masks::kColumns[mask];
    for (int r = 0; r < n; ++r) {
        const V x = Masked(lines.darkRows[r], lines.dataRows[r], lines.freeRows[r], rowPatterns[r % 12]);
        const V same = ScoreLine(x, m, s);
        s.dark += Count(x);
        if (r > 0) ScoreBlocks(previous, previousSame, x, s);
        previous = x;
        previousSame = same;
        const V y = Masked(lines.darkCols[r], lines.dataCols[r], lines.freeCols[r], columnPatterns[r % 12]);
        ScoreLine(y, m, s);
    }
    return Total(s.windows) + (penalty::kN1 - 1) * Total(s.starts) + penalty::kN2 * Total(s.blocks) +
           penalty::kN3 * Total(s.finders) + penalty::BalancePenalty(Total(s.dark), n * n);
}

}  // namespace mosaiko

#pragma GCC pop_options

namespace mosaiko {
bool WideKernelAvailable() {
    return __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512vpopcntdq");
}
}  // namespace mosaiko

#else

namespace mosaiko {
int WidePenalty(const MaskLines&, int, int) { return -1; }
bool WideKernelAvailable() { return false; }
}  // namespace mosaiko

#endif
