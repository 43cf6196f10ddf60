// The penalty of all eight masks at once, in 256-bit registers whose lanes
// are masks: a register holds one line of the symbol (or one 64-bit word of
// it) under four masks, one mask a 64-bit lane, or a line of up to 32
// modules under all eight, one mask a 32-bit lane. The rules of
// PenaltyLines.h then score the masks side by side; no shift crosses a lane
// and the line's data is loaded once for all masks. Shared by the kernel of
// each instruction set: a kernel file includes this inside its unnamed
// namespace, after <immintrin.h> and PenaltyLines.h and under its target
// options, and defines WordCounts, the one step that differs.
#pragma once

using Line = masks::Line;
using namespace penaltylines;

// Bits set in each byte: a nibble's count from a table.
inline __m256i ByteCounts(__m256i a) {
    const __m256i table = _mm256_setr_epi8(0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4,
                                           0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4);
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    const __m256i low = _mm256_shuffle_epi8(table, _mm256_and_si256(a, nibble));
    const __m256i high = _mm256_shuffle_epi8(table, _mm256_and_si256(_mm256_srli_epi16(a, 4), nibble));
    return _mm256_add_epi8(low, high);
}

// Defined by the kernel file: the bits set in each 64-bit lane of W registers together.
template <int W>
inline __m256i WordCounts(const __m256i (&w)[W]);

// Up to 32 modules: the line under mask m in 32-bit lane m.
struct Q {
    __m256i v;
};
inline Q operator&(Q a, Q b) { return {_mm256_and_si256(a.v, b.v)}; }
inline Q operator^(Q a, Q b) { return {_mm256_xor_si256(a.v, b.v)}; }
inline Q Without(Q a, Q b) { return {_mm256_andnot_si256(b.v, a.v)}; }
template <int K>
inline Q Shr(Q x) { return {_mm256_srli_epi32(x.v, K)}; }
inline Q Shl1(Q x) { return {_mm256_slli_epi32(x.v, 1)}; }

// Counts of Q lines, per 16-bit half of each lane (at most 16 a line, so
// thousands of lines fit).
struct HalfCounts {
    __m256i v;
    HalfCounts& operator+=(const HalfCounts& c) {
        v = _mm256_add_epi16(v, c.v);
        return *this;
    }
};
inline HalfCounts Count(Q a) { return {_mm256_maddubs_epi16(ByteCounts(a.v), _mm256_set1_epi8(1))}; }
inline HalfCounts CountRare(Q a) { return _mm256_testz_si256(a.v, a.v) ? HalfCounts{_mm256_setzero_si256()} : Count(a); }

// Lines of W words: word i of the line in register i, under mask 4h + j in
// 64-bit lane j (h being the half of the masks scored).
template <int W>
struct R {
    __m256i w[W];
};
template <int W, typename F>
inline R<W> Each(F f) {
    R<W> r;
    for (int i = 0; i < W; ++i) r.w[i] = f(i);
    return r;
}
template <int W>
inline R<W> operator&(const R<W>& a, const R<W>& b) { return Each<W>([&](int i) { return _mm256_and_si256(a.w[i], b.w[i]); }); }
template <int W>
inline R<W> operator^(const R<W>& a, const R<W>& b) { return Each<W>([&](int i) { return _mm256_xor_si256(a.w[i], b.w[i]); }); }
template <int W>
inline R<W> Without(const R<W>& a, const R<W>& b) {
    return Each<W>([&](int i) { return _mm256_andnot_si256(b.w[i], a.w[i]); });
}
template <int K, int W>
inline R<W> Shr(const R<W>& x) {
    return Each<W>([&](int i) {
        const __m256i down = _mm256_srli_epi64(x.w[i], K);
        return i + 1 < W ? _mm256_or_si256(down, _mm256_slli_epi64(x.w[i + 1], 64 - K)) : down;
    });
}
template <int W>
inline R<W> Shl1(const R<W>& x) {
    return Each<W>([&](int i) {
        const __m256i up = _mm256_slli_epi64(x.w[i], 1);
        return i > 0 ? _mm256_or_si256(up, _mm256_srli_epi64(x.w[i - 1], 63)) : up;
    });
}

struct Counts {
    __m256i v;
    Counts& operator+=(const Counts& c) {
        v = _mm256_add_epi64(v, c.v);
        return *this;
    }
};
template <int W>
inline Counts Count(const R<W>& a) { return {WordCounts<W>(a.w)}; }
template <int W>
inline Counts CountRare(const R<W>& a) {
    __m256i any = a.w[0];
    for (int i = 1; i < W; ++i) any = _mm256_or_si256(any, a.w[i]);
    return _mm256_testz_si256(any, any) ? Counts{_mm256_setzero_si256()} : Count(a);
}

// Rows and columns scored together; the dark count and the 2 x 2 blocks
// come from the rows alone.
template <class L, class C, class RowAt, class ColumnAt>
Sums<C> ScoreMasks(int n, const LineMasks<L>& m, RowAt rowAt, ColumnAt columnAt) {
    Sums<C> s{};
    L previous{}, previousSame{};
    for (int r = 0; r < n; ++r) {
        const L x = rowAt(r);
        const L same = ScoreLine(x, m, s);
        s.dark += Count(x);
        if (r > 0) ScoreBlocks(previous, previousSame, x, s);
        previous = x;
        previousSame = same;
        ScoreLine(columnAt(r), m, s);
    }
    return s;
}

// The first `count` bits of a line set.
inline Line LowLine(int count) {
    Line line{};
    for (int b = 0; b < count; ++b) line.w[b / 64] |= uint64_t{1} << (b % 64);
    return line;
}

inline __m256i Broadcast32(uint64_t word) { return _mm256_set1_epi32(static_cast<int>(static_cast<uint32_t>(word))); }
inline __m256i Broadcast64(uint64_t word) { return _mm256_set1_epi64x(static_cast<long long>(word)); }

// dark | ((data ^ pattern) & free), with the symbol's word in every lane and each mask's pattern in its own.
inline __m256i MaskedLanes(__m256i dark, __m256i data, __m256i free, const void* patterns) {
    const __m256i pattern = _mm256_loadu_si256(static_cast<const __m256i*>(patterns));
    return _mm256_or_si256(dark, _mm256_and_si256(_mm256_xor_si256(data, pattern), free));
}

// Up to 32 modules a line: the eight masks in one register.
inline void NarrowPenalties(const MaskLines& lines, int n, int scores[8]) {
    const LineMasks<Q> m{{Broadcast32(LowLine(n - 1).w[0])}, {Broadcast32(LowLine(n - 6).w[0])}};
    const auto& p = masks::kLanePatterns;
    auto line = [](const Line& dark, const Line& data, const Line& free, const uint32_t* patterns) {
        return Q{MaskedLanes(Broadcast32(dark.w[0]), Broadcast32(data.w[0]), Broadcast32(free.w[0]), patterns)};
    };
    const Sums<HalfCounts> s = ScoreMasks<Q, HalfCounts>(
        n, m, [&](int r) { return line(lines.darkRows[r], lines.dataRows[r], lines.freeRows[r], p.rows32[r % 12]); },
        [&](int c) { return line(lines.darkCols[c], lines.dataCols[c], lines.freeCols[c], p.columns32[c % 12]); });
    alignas(32) int32_t t[5][8];
    const HalfCounts* sums[5] = {&s.windows, &s.starts, &s.blocks, &s.finders, &s.dark};
    for (int k = 0; k < 5; ++k)
        _mm256_store_si256(reinterpret_cast<__m256i*>(t[k]), _mm256_madd_epi16(sums[k]->v, _mm256_set1_epi16(1)));
    for (int mask = 0; mask < 8; ++mask)
        scores[mask] = MaskScore(t[0][mask], t[1][mask], t[2][mask], t[3][mask], t[4][mask], n);
}

// Lines of W words: masks 0-3, then 4-7.
template <int W>
void WordPenalties(const MaskLines& lines, int n, int scores[8]) {
    const Line pairs = LowLine(n - 1), sevens = LowLine(n - 6);
    const LineMasks<R<W>> m{Each<W>([&](int i) { return Broadcast64(pairs.w[i]); }),
                            Each<W>([&](int i) { return Broadcast64(sevens.w[i]); })};
    const auto& p = masks::kLanePatterns;
    for (int half = 0; half < 2; ++half) {
        auto line = [half](const Line& dark, const Line& data, const Line& free, const uint64_t (*patterns)[8]) {
            return Each<W>([&](int i) {
                return MaskedLanes(Broadcast64(dark.w[i]), Broadcast64(data.w[i]), Broadcast64(free.w[i]),
                                   patterns[i] + 4 * half);
            });
        };
        const Sums<Counts> s = ScoreMasks<R<W>, Counts>(
            n, m, [&](int r) { return line(lines.darkRows[r], lines.dataRows[r], lines.freeRows[r], p.rows[r % 12]); },
            [&](int c) { return line(lines.darkCols[c], lines.dataCols[c], lines.freeCols[c], p.columns[c % 12]); });
        alignas(32) int64_t t[5][4];
        const Counts* sums[5] = {&s.windows, &s.starts, &s.blocks, &s.finders, &s.dark};
        for (int k = 0; k < 5; ++k) _mm256_store_si256(reinterpret_cast<__m256i*>(t[k]), sums[k]->v);
        for (int j = 0; j < 4; ++j)
            scores[4 * half + j] = MaskScore(static_cast<int>(t[0][j]), static_cast<int>(t[1][j]),
                                             static_cast<int>(t[2][j]), static_cast<int>(t[3][j]),
                                             static_cast<int>(t[4][j]), n);
    }
}

inline void VectorPenalties(const MaskLines& lines, int n, int scores[8]) {
    if (n <= 32) return NarrowPenalties(lines, n, scores);
    if (n <= 64) return WordPenalties<1>(lines, n, scores);
    if (n <= 128) return WordPenalties<2>(lines, n, scores);
    WordPenalties<3>(lines, n, scores);
}
