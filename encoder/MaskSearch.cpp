#include "MaskSearch.h"

#include "MaskPatterns.h"
#include "PenaltyRules.h"

#include <array>
#include <bit>
#include <cassert>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace mosaiko {
namespace {

using Line = MaskSearch::Line;

// Fixed-width bit lines: W words cover the N modules of one row or column.
template <int W>
struct Bits {
    uint64_t w[W];
};

template <int W>
inline Bits<W> Shr(const Bits<W>& x, int k) {  // bit j of the result = bit j + k
    Bits<W> r;
    for (int i = 0; i < W; ++i) r.w[i] = (x.w[i] >> k) | (i + 1 < W ? x.w[i + 1] << (64 - k) : 0);
    return r;
}

template <int W>
inline Bits<W> Shl1(const Bits<W>& x) {  // bit j of the result = bit j - 1
    Bits<W> r;
    for (int i = 0; i < W; ++i) r.w[i] = (x.w[i] << 1) | (i > 0 ? x.w[i - 1] >> 63 : 0);
    return r;
}

template <int W, typename F>
inline Bits<W> Combine(F f) {
    Bits<W> r;
    for (int i = 0; i < W; ++i) r.w[i] = f(i);
    return r;
}

template <int W>
inline int Count(const Bits<W>& x) {
    int c = 0;
    for (int i = 0; i < W; ++i) c += std::popcount(x.w[i]);
    return c;
}

template <int W>
Bits<W> LowBits(int count) {
    Bits<W> r{};
    for (int b = 0; b < count; ++b) r.w[b / 64] |= uint64_t{1} << (b % 64);
    return r;
}

template <int W>
struct LineMasks {
    Bits<W> all;    // modules 0..N-1
    Bits<W> pairs;  // starts of two neighbours, 0..N-2
    Bits<W> sevens; // starts of seven modules, 0..N-7
};

// Runs of five or more equal modules score 3 + (length - 5). A run of length
// L holds L - 4 windows of five, so the score is windows + 2 x runs.
template <int W>
inline int RunScore(const Bits<W>& x, const LineMasks<W>& m) {
    const Bits<W> next = Shr(x, 1);
    const Bits<W> same = Combine<W>([&](int i) { return ~(x.w[i] ^ next.w[i]) & m.pairs.w[i]; });
    const Bits<W> s1 = Shr(same, 1), s2 = Shr(same, 2), s3 = Shr(same, 3);
    const Bits<W> windows = Combine<W>([&](int i) { return same.w[i] & s1.w[i] & s2.w[i] & s3.w[i]; });
    const Bits<W> prev = Shl1(windows);
    const Bits<W> starts = Combine<W>([&](int i) { return windows.w[i] & ~prev.w[i]; });
    return Count(windows) + (penalty::kN1 - 1) * Count(starts);
}
static_assert(penalty::RunPenalty(penalty::kMinRun + 3) == (3 + 1) + (penalty::kN1 - 1),
              "a run scores one per window of five plus N1 - 1 once");

// dark, light, dark, dark, dark, light, dark with a light module (or the
// edge) directly before and after it.
template <int W>
inline int FinderCount(const Bits<W>& x, const LineMasks<W>& m) {
    const Bits<W> before = Shl1(x);
    Bits<W> s[8];
    for (int k = 1; k <= 7; ++k) s[k] = Shr(x, k);
    const Bits<W> hit = Combine<W>([&](int i) {
        return x.w[i] & ~before.w[i] & ~s[1].w[i] & s[2].w[i] & s[3].w[i] & s[4].w[i] & ~s[5].w[i] &
               s[6].w[i] & ~s[7].w[i] & m.sevens.w[i];
    });
    return Count(hit);
}

// 2 x 2 squares of one colour, between row a and the row b below it.
template <int W>
inline int BlockCount(const Bits<W>& a, const Bits<W>& b, const LineMasks<W>& m) {
    const Bits<W> vertical = Combine<W>([&](int i) { return ~(a.w[i] ^ b.w[i]) & m.all.w[i]; });
    const Bits<W> v1 = Shr(vertical, 1);
    const Bits<W> a1 = Shr(a, 1);
    const Bits<W> all = Combine<W>([&](int i) { return vertical.w[i] & v1.w[i] & ~(a.w[i] ^ a1.w[i]) & m.pairs.w[i]; });
    return Count(all);
}

template <int W>
inline Bits<W> Masked(const Line& dark, const Line& data, const Line& free, const Line& pattern) {
    return Combine<W>([&](int i) { return dark.w[i] | ((data.w[i] ^ pattern.w[i]) & free.w[i]); });
}

}  // namespace

namespace {

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

// 64 x 64 bit transpose: bit j of a[i] moves to bit i of a[j].
void Transpose64(uint64_t a[64]) {
    uint64_t m = 0x00000000FFFFFFFFull;
    for (int j = 32; j != 0; j >>= 1, m ^= m << j) {
        for (int k = 0; k < 64; k = ((k | j) + 1) & ~j) {
            const uint64_t t = ((a[k] >> j) ^ a[k | j]) & m;
            a[k] ^= t << j;
            a[k | j] ^= t;
        }
    }
}

// Columns from rows, one 64 x 64 block at a time.
void Transpose(const Line* rows, Line* columns, int n) {
    const int blocks = (n + 63) / 64;
    uint64_t a[64];
    for (int br = 0; br < blocks; ++br) {
        for (int bc = 0; bc < blocks; ++bc) {
            for (int i = 0; i < 64; ++i) a[i] = 64 * br + i < n ? rows[64 * br + i].w[bc] : 0;
            Transpose64(a);
            for (int i = 0; i < 64 && 64 * bc + i < n; ++i) columns[64 * bc + i].w[br] = a[i];
        }
    }
}

}  // namespace

void MaskSearch::Load(const uint8_t* cells, int stride, int n) {
    assert(n >= 21 && n <= 177);
    n_ = n;
    for (int r = 0; r < n; ++r) {
        const uint8_t* row = cells + r * stride;
        Line function;
        RowBits(row, n, 4, function);
        RowBits(row, n, 2, darkRows_[r]);
        RowBits(row, n, 1, dataRows_[r]);
        for (int w = 0; w < 3; ++w) {
            const int low = 64 * w;
            const uint64_t inside = n - low >= 64 ? ~uint64_t{0} : n > low ? (uint64_t{1} << (n - low)) - 1 : 0;
            freeRows_[r].w[w] = inside & ~function.w[w];
            darkRows_[r].w[w] &= function.w[w];  // dark function modules only
            dataRows_[r].w[w] &= freeRows_[r].w[w];
        }
    }
    Transpose(freeRows_, freeCols_, n);
    Transpose(darkRows_, darkCols_, n);
    Transpose(dataRows_, dataCols_, n);
}

template <int W>
int MaskSearch::PenaltyOf(int mask) const {
    const int n = n_;
    const LineMasks<W> m{LowBits<W>(n), LowBits<W>(n - 1), LowBits<W>(n - 6)};
    int runs = 0, blocks = 0, finders = 0, dark = 0;
    Bits<W> previous{};
    for (int r = 0; r < n; ++r) {
        const Bits<W> x = Masked<W>(darkRows_[r], dataRows_[r], freeRows_[r], masks::kRows[mask][r % 12]);
        runs += RunScore(x, m);
        finders += FinderCount(x, m);
        dark += Count(x);
        if (r > 0) blocks += BlockCount(previous, x, m);
        previous = x;
    }
    for (int c = 0; c < n; ++c) {
        const Bits<W> x = Masked<W>(darkCols_[c], dataCols_[c], freeCols_[c], masks::kColumns[mask][c % 12]);
        runs += RunScore(x, m);
        finders += FinderCount(x, m);
    }
    return runs + penalty::kN2 * blocks + penalty::kN3 * finders + penalty::BalancePenalty(dark, n * n);
}

int MaskSearch::Penalty(int mask) const {
    assert(mask >= 0 && mask < 8);
    if (n_ <= 64) return PenaltyOf<1>(mask);
    if (n_ <= 128) return PenaltyOf<2>(mask);
    return PenaltyOf<3>(mask);
}

int MaskSearch::BestMask() const {
    int best = 0;
    int bestScore = -1;
    for (int mask = 0; mask < 8; ++mask) {
        const int score = Penalty(mask);
        if (bestScore < 0 || score < bestScore) {
            best = mask;
            bestScore = score;
        }
    }
    return best;
}

}  // namespace mosaiko
