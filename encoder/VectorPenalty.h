// The mask penalty with one 256-bit register per line: the register types
// and the loops, shared by the kernel of each instruction set (AVX-512 with
// vector popcount, AVX2). A kernel file includes this inside its unnamed
// namespace, after <immintrin.h> and PenaltyLines.h and under its target
// options, and defines LaneCounts and Load; only those differ between the
// sets.
#pragma once

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
template <int K>
inline N Shr(N x) { return {_mm256_srli_epi64(x.v, K)}; }
inline N Shl1(N x) { return {_mm256_slli_epi64(x.v, 1)}; }

// Two lines of up to 128 modules, one per 128-bit lane (a row and the
// column of the same number), so a shift moves words within a lane only.
struct P {
    __m256i v;
};
inline P operator&(P a, P b) { return {_mm256_and_si256(a.v, b.v)}; }
inline P operator^(P a, P b) { return {_mm256_xor_si256(a.v, b.v)}; }
inline P Without(P a, P b) { return {_mm256_andnot_si256(b.v, a.v)}; }
template <int K>
inline P Shr(P x) {
    return {_mm256_or_si256(_mm256_srli_epi64(x.v, K), _mm256_slli_epi64(_mm256_bsrli_epi128(x.v, 8), 64 - K))};
}
inline P Shl1(P x) {
    return {_mm256_or_si256(_mm256_slli_epi64(x.v, 1), _mm256_srli_epi64(_mm256_bslli_epi128(x.v, 8), 63))};
}

// The kernel file defines these for its instruction set: the bits set in
// each 64-bit lane, and a line's three words with 0 in the fourth.
inline __m256i LaneCounts(__m256i a);
inline __m256i Load(const Line& line);

inline Counts Count(V a) { return {LaneCounts(a.v)}; }
inline Counts Count(N a) { return {LaneCounts(a.v)}; }
inline Counts Count(P a) { return {LaneCounts(a.v)}; }

// Words 0 and 1 of line a in the low lane, of line b in the high lane.
inline __m256i LoadPair(const Line& a, const Line& b) {
    return _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(b.w), reinterpret_cast<const __m128i*>(a.w));
}

inline V Masked(const Line& dark, const Line& data, const Line& free, const Line& pattern) {
    const __m256i flipped = _mm256_and_si256(_mm256_xor_si256(Load(data), Load(pattern)), Load(free));
    return {_mm256_or_si256(Load(dark), flipped)};
}

// The first `count` bits of a line set.
inline Line LowLine(int count) {
    Line line{};
    for (int b = 0; b < count; ++b) line.w[b / 64] |= uint64_t{1} << (b % 64);
    return line;
}

inline V LowBits(int count) { return {Load(LowLine(count))}; }

inline int Total(const Counts& c) {
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

// 65 to 128 modules a line: row r and column r in one register.
inline int PairPenalty(const MaskLines& lines, int n, int mask) {
    const Line pairs = LowLine(n - 1), sevens = LowLine(n - 6);
    const LineMasks<P> m{{LoadPair(pairs, pairs)}, {LoadPair(sevens, sevens)}};
    const P rowLane{_mm256_setr_epi64x(-1, -1, 0, 0)};
    const Counts zero{_mm256_setzero_si256()};
    Sums<Counts> s{zero, zero, zero, zero, zero};
    P previous{_mm256_setzero_si256()}, previousSame{_mm256_setzero_si256()};
    const auto& rowPatterns = masks::kRows[mask];
    const auto& columnPatterns = masks::kColumns[mask];
    for (int r = 0; r < n; ++r) {
        const __m256i pattern = LoadPair(rowPatterns[r % 12], columnPatterns[r % 12]);
        const __m256i flipped = _mm256_and_si256(_mm256_xor_si256(LoadPair(lines.dataRows[r], lines.dataCols[r]), pattern),
                                                 LoadPair(lines.freeRows[r], lines.freeCols[r]));
        const P x{_mm256_or_si256(LoadPair(lines.darkRows[r], lines.darkCols[r]), flipped)};
        const P same = ScoreLine(x, m, s);
        const P row = x & rowLane;  // the dark count and the blocks are the rows' alone
        s.dark += Count(row);
        if (r > 0) ScoreBlocks(previous, previousSame, row, s);
        previous = row;
        previousSame = same & rowLane;
    }
    return Total(s.windows) + (penalty::kN1 - 1) * Total(s.starts) + penalty::kN2 * Total(s.blocks) +
           penalty::kN3 * Total(s.finders) + penalty::BalancePenalty(Total(s.dark), n * n);
}

// One register per line (more than 128 modules), rows and columns in one
// pass; two lines a register up to 128, four up to 64.
inline int VectorPenalty(const MaskLines& lines, int n, int mask) {
    if (n <= 64) return NarrowPenalty(lines, n, mask);
    if (n <= 128) return PairPenalty(lines, n, mask);
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

