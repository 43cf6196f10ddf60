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

// Four lines of up to 64 modules, one per 64-bit lane.
struct N {
    __m256i v;
};
inline N operator&(N a, N b) { return {_mm256_and_si256(a.v, b.v)}; }
inline N operator^(N a, N b) { return {_mm256_xor_si256(a.v, b.v)}; }
inline N Without(N a, N b) { return {_mm256_andnot_si256(b.v, a.v)}; }
inline Counts Count(N a) { return {_mm256_popcnt_epi64(a.v)}; }
template <int K>
inline N Shr(N x) { return {_mm256_srli_epi64(x.v, K)}; }
inline N Shl1(N x) { return {_mm256_slli_epi64(x.v, 1)}; }

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

// Up to 64 modules a line: four lines side by side in one register, so a
// shift needs no carry between words.
int NarrowPenalty(const MaskLines& lines, int n, int mask) {
    alignas(32) uint64_t rows[68] = {}, columns[68] = {};  // 0 beyond n
    for (int i = 0; i < n; ++i) {
        rows[i] = lines.darkRows[i].w[0] |
                  ((lines.dataRows[i].w[0] ^ masks::kRows[mask][i % 12].w[0]) & lines.freeRows[i].w[0]);
        columns[i] = lines.darkCols[i].w[0] |
                     ((lines.dataCols[i].w[0] ^ masks::kColumns[mask][i % 12].w[0]) & lines.freeCols[i].w[0]);
    }
    const __m256i lane = _mm256_setr_epi64x(0, 1, 2, 3);
    const __m256i pairs = _mm256_set1_epi64x(static_cast<long long>((uint64_t{1} << (n - 1)) - 1));
    const __m256i sevens = _mm256_set1_epi64x(static_cast<long long>((uint64_t{1} << (n - 6)) - 1));
    const Counts zero{_mm256_setzero_si256()};
    Sums<Counts> s{zero, zero, zero, zero, zero};
    auto load = [](const uint64_t* p) { return N{_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p))}; };
    for (int i = 0; i < n; i += 4) {
        // Lanes at or beyond n hold no line; the block lanes also need the row below.
        const __m256i index = _mm256_add_epi64(lane, _mm256_set1_epi64x(i));
        const __m256i inside = _mm256_cmpgt_epi64(_mm256_set1_epi64x(n), index);
        const __m256i above = _mm256_cmpgt_epi64(_mm256_set1_epi64x(n - 1), index);
        const LineMasks<N> m{{_mm256_and_si256(pairs, inside)}, {_mm256_and_si256(sevens, inside)}};
        const N x = load(rows + i);
        const N same = ScoreLine(x, m, s);
        s.dark += Count(x);
        ScoreBlocks(x, same & N{above}, load(rows + i + 1), s);
        ScoreLine(load(columns + i), m, s);
    }
    return Total(s.windows) + (penalty::kN1 - 1) * Total(s.starts) + penalty::kN2 * Total(s.blocks) +
           penalty::kN3 * Total(s.finders) + penalty::BalancePenalty(Total(s.dark), n * n);
}

}  // namespace

int WidePenalty(const MaskLines& lines, int n, int mask) {
    if (n <= 64) return NarrowPenalty(lines, n, mask);
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
