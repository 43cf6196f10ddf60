#include "MaskSearch.h"

#include "MaskPatterns.h"
#include "MatrixSteps.h"
#include "PenaltyLines.h"
#include "PenaltyRules.h"

#include <bit>
#include <cassert>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace mosaiko {
namespace {

using Line = MaskSearch::Line;
using namespace penaltylines;

// Fixed-width bit lines: W words cover the N modules of one row or column.
template <int W>
struct Bits {
    uint64_t w[W];
};

template <int W, typename F>
inline Bits<W> Combine(F f) {
    Bits<W> r;
    for (int i = 0; i < W; ++i) r.w[i] = f(i);
    return r;
}

template <int W>
inline Bits<W> operator&(const Bits<W>& a, const Bits<W>& b) { return Combine<W>([&](int i) { return a.w[i] & b.w[i]; }); }
template <int W>
inline Bits<W> operator^(const Bits<W>& a, const Bits<W>& b) { return Combine<W>([&](int i) { return a.w[i] ^ b.w[i]; }); }
template <int W>
inline Bits<W> Without(const Bits<W>& a, const Bits<W>& b) { return Combine<W>([&](int i) { return a.w[i] & ~b.w[i]; }); }

template <int K, int W>
inline Bits<W> Shr(const Bits<W>& x) {
    return Combine<W>([&](int i) { return (x.w[i] >> K) | (i + 1 < W ? x.w[i + 1] << (64 - K) : 0); });
}

template <int W>
inline Bits<W> Shl1(const Bits<W>& x) {
    return Combine<W>([&](int i) { return (x.w[i] << 1) | (i > 0 ? x.w[i - 1] >> 63 : 0); });
}

template <int W>
inline int Count(const Bits<W>& x) {
    int c = 0;
    for (int i = 0; i < W; ++i) c += std::popcount(x.w[i]);
    return c;
}

template <int W>
inline int CountRare(const Bits<W>& x) { return Count(x); }

template <int W>
Bits<W> LowBits(int count) {
    Bits<W> r{};
    for (int b = 0; b < count; ++b) r.w[b / 64] |= uint64_t{1} << (b % 64);
    return r;
}

template <int W>
inline Bits<W> Masked(const Line& dark, const Line& data, const Line& free, const Line& pattern) {
    return Combine<W>([&](int i) { return dark.w[i] | ((data.w[i] ^ pattern.w[i]) & free.w[i]); });
}

// Bits of the cells of one matrix row that carry a flag, 64 columns a word.
void RowBits(const uint8_t* row, int n, uint8_t flag, Line& out) {
    out = Line{};
    int c = 0;
#if defined(__SSE2__)
    const __m128i want = _mm_set1_epi8(static_cast<char>(flag));
    for (; c + 16 <= n; c += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + c));
        const auto bits = static_cast<uint64_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_and_si128(v, want), want)));
        out.w[c / 64] |= bits << (c % 64);  // 16-column chunks never straddle a word
    }
#endif
    for (; c < n; ++c)
        if (row[c] & flag) out.w[c / 64] |= uint64_t{1} << (c % 64);
}

// One step of the recursive bit transpose of a square of W-bit words: the
// off-diagonal J x J sub-blocks of every 2J x 2J block change places. J is a
// constant, so each step unrolls into straight shifts and XORs.
template <typename Word, int J>
inline void TransposeStep(Word* a) {
    constexpr int kBits = 8 * sizeof(Word);
    constexpr Word kLow = [] {  // bits whose index has bit J clear
        Word m = 0;
        for (int b = 0; b < kBits; ++b)
            if ((b & J) == 0) m |= Word{1} << b;
        return m;
    }();
    for (int k = 0; k < kBits; k += 2 * J) {
        for (int i = k; i < k + J; ++i) {
            const Word t = ((a[i] >> J) ^ a[i + J]) & kLow;
            a[i] ^= static_cast<Word>(t << J);
            a[i + J] ^= t;
        }
    }
}

// kBits x kBits bit transpose: bit j of a[i] moves to bit i of a[j].
template <typename Word>
void TransposeSquare(Word* a) {
    if constexpr (sizeof(Word) == 8) TransposeStep<Word, 32>(a);
    TransposeStep<Word, 16>(a);
    TransposeStep<Word, 8>(a);
    TransposeStep<Word, 4>(a);
    TransposeStep<Word, 2>(a);
    TransposeStep<Word, 1>(a);
}

}  // namespace

// The plain transpose, bit by bit: the reference of the block transpose.
void TransposeLinesPlain(const Line* rows, Line* columns, int n) {
    for (int c = 0; c < n; ++c) {
        columns[c] = Line{};
        for (int r = 0; r < n; ++r)
            columns[c].w[r / 64] |= ((rows[r].w[c / 64] >> (c % 64)) & 1) << (r % 64);
    }
}

// A single 32 x 32 block up to version 3; above, 64 x 64 blocks in 256-bit
// registers where the CPU has AVX2, else in words.
void TransposeLines(const Line* rows, Line* columns, int n) {
    if (n <= 32) {
        uint32_t a[32];
        for (int i = 0; i < 32; ++i) a[i] = i < n ? static_cast<uint32_t>(rows[i].w[0]) : 0;
        TransposeSquare(a);
        for (int i = 0; i < n; ++i) columns[i] = Line{{a[i], 0, 0}};
        return;
    }
    static const bool wide = MatrixStepsAvx2Available();
    if (wide) TransposeLinesAvx2(rows, columns, n);
    else TransposeLinesPortable(rows, columns, n);
}

// One 64 x 64 block at a time; the words beyond the symbol are cleared, as
// the wide kernel reads them.
void TransposeLinesPortable(const Line* rows, Line* columns, int n) {
    const int blocks = (n + 63) / 64;
    for (int i = 0; i < n; ++i)
        for (int w = blocks; w < 3; ++w) columns[i].w[w] = 0;
    uint64_t a[64];
    for (int br = 0; br < blocks; ++br) {
        for (int bc = 0; bc < blocks; ++bc) {
            for (int i = 0; i < 64; ++i) a[i] = 64 * br + i < n ? rows[64 * br + i].w[bc] : 0;
            TransposeSquare(a);
            for (int i = 0; i < 64 && 64 * bc + i < n; ++i) columns[64 * bc + i].w[br] = a[i];
        }
    }
}

namespace {

uint64_t InsideWord(int n, int w) {
    const int low = 64 * w;
    return n - low >= 64 ? ~uint64_t{0} : n > low ? (uint64_t{1} << (n - low)) - 1 : 0;
}

}  // namespace

void MaskSearch::LoadFunctionLines(const uint8_t* cells, int stride, int n) {
    for (int r = 0; r < n; ++r) {
        const uint8_t* row = cells + r * stride;
        Line function;
        RowBits(row, n, 4, function);
        RowBits(row, n, 2, lines_.darkRows[r]);
        for (int w = 0; w < 3; ++w) {
            lines_.freeRows[r].w[w] = InsideWord(n, w) & ~function.w[w];
            lines_.darkRows[r].w[w] &= function.w[w];  // dark function modules only
        }
    }
    TransposeLines(lines_.freeRows, lines_.freeCols, n);
    TransposeLines(lines_.darkRows, lines_.darkCols, n);
}

void MaskSearch::LoadDataRows(const uint8_t* cells, int stride, int n) {
    for (int r = 0; r < n; ++r) {
        RowBits(cells + r * stride, n, 1, lines_.dataRows[r]);
        for (int w = 0; w < 3; ++w) lines_.dataRows[r].w[w] &= lines_.freeRows[r].w[w];
    }
    TransposeLines(lines_.dataRows, lines_.dataCols, n);
}

void MaskSearch::Load(const uint8_t* cells, int stride, int n) {
    assert(n >= 21 && n <= kMaxModules);
    n_ = n;
    LoadFunctionLines(cells, stride, n);
    LoadDataRows(cells, stride, n);
    functionN_ = 0;  // any cells, not necessarily an encoder's function patterns
    placedN_ = 0;
}

PlacementLines MaskSearch::ForPlacement(const uint8_t* cells, int stride, int n) {
    if (functionN_ != n) {
        LoadFunctionLines(cells, stride, n);
        functionN_ = n;
    }
    placedN_ = n;
    return {lines_.freeCols, lines_.dataCols, lines_.dataRows, placementScratch_};
}

void MaskSearch::LoadPlaced(const uint8_t* cells, int stride, int n) {
    assert(n >= 21 && n <= kMaxModules);
    n_ = n;
    if (functionN_ != n) {
        LoadFunctionLines(cells, stride, n);
        functionN_ = n;
    }
    if (placedN_ != n) LoadDataRows(cells, stride, n);
}

template <int W>
int MaskSearch::PenaltyOf(int mask) const {
    const int n = n_;
    const LineMasks<Bits<W>> m{LowBits<W>(n - 1), LowBits<W>(n - 6)};
    Sums<int> s;
    Bits<W> previous{}, previousSame{};
    for (int r = 0; r < n; ++r) {
        const Bits<W> x = Masked<W>(lines_.darkRows[r], lines_.dataRows[r], lines_.freeRows[r], masks::kRows[mask][r % 12]);
        const Bits<W> same = ScoreLine(x, m, s);
        s.dark += Count(x);
        if (r > 0) ScoreBlocks(previous, previousSame, x, s);
        previous = x;
        previousSame = same;
    }
    for (int c = 0; c < n; ++c) {
        const Bits<W> x = Masked<W>(lines_.darkCols[c], lines_.dataCols[c], lines_.freeCols[c], masks::kColumns[mask][c % 12]);
        ScoreLine(x, m, s);
    }
    return MaskScore(s.windows, s.starts, s.blocks, s.finders, s.dark, n);
}

int MaskSearch::PortablePenalty(int mask) const {
    assert(mask >= 0 && mask < 8);
    if (n_ <= 64) return PenaltyOf<1>(mask);
    if (n_ <= 128) return PenaltyOf<2>(mask);
    return PenaltyOf<3>(mask);
}

bool KernelAvailable(PenaltyKernel kernel) {
    switch (kernel) {
        case PenaltyKernel::Avx512: return WideKernelAvailable();
        case PenaltyKernel::Avx2: return Avx2KernelAvailable();
        default: return true;
    }
}

PenaltyKernel MaskSearch::WidestKernel() {
    for (PenaltyKernel k : {PenaltyKernel::Avx512, PenaltyKernel::Avx2})
        if (KernelAvailable(k)) return k;
    return PenaltyKernel::Portable;
}

MaskScores MaskSearch::PenaltiesWith(PenaltyKernel kernel) const {
    assert(KernelAvailable(kernel));
    MaskScores scores;
    switch (kernel) {
        case PenaltyKernel::Avx512: WidePenalties(lines_, n_, scores.data()); break;
        case PenaltyKernel::Avx2: Avx2Penalties(lines_, n_, scores.data()); break;
        default:
            for (int mask = 0; mask < 8; ++mask) scores[mask] = PortablePenalty(mask);
    }
    return scores;
}

MaskScores MaskSearch::Penalties() const { return PenaltiesWith(kernel_); }

int MaskSearch::BestMask() const {
    const MaskScores scores = Penalties();
    int best = 0;
    for (int mask = 1; mask < 8; ++mask)
        if (scores[mask] < scores[best]) best = mask;  // ties keep the lower number
    return best;
}

}  // namespace mosaiko
