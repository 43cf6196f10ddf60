// The penalty rules of one line of modules, written once over a bit-line
// type L, so the portable kernel (64-bit words) and the wide kernel (one
// vector register per line) score alike. L offers &, |, ^, Without(a, b)
// = a & ~b, Shr<k> (bit j of the result = bit j + k), Shl1 (bit j = bit
// j - 1), Count (a sum the kernel adds up) and CountRare (the same for bits
// seldom set, where a kernel may skip counting an empty line). Bits at or
// beyond the end of the line are 0 in every value that is shifted.
#pragma once

#include "PenaltyRules.h"

namespace mosaiko::penaltylines {

template <class L>
struct LineMasks {
    L pairs;   // starts of two neighbours, 0..N-2
    L sevens;  // starts of seven modules, 0..N-7
};

template <class C>
struct Sums {
    C windows{};  // windows of five equal modules
    C starts{};   // runs of five or more (first window of each)
    C finders{};  // finder-like patterns
    C blocks{};   // 2 x 2 squares of one colour
    C dark{};     // dark modules (rows only)
};

// The penalty of an n x n symbol from its counts: a run scores one per
// window of five plus N1 - 1 once.
inline int MaskScore(int windows, int starts, int blocks, int finders, int dark, int n) {
    return windows + (penalty::kN1 - 1) * starts + penalty::kN2 * blocks + penalty::kN3 * finders +
           penalty::BalancePenalty(dark, n * n);
}
static_assert(penalty::RunPenalty(penalty::kMinRun + 3) == (3 + 1) + (penalty::kN1 - 1),
              "a run of eight modules holds four windows of five");

// Runs and finder-like patterns of line x; returns where a module equals its
// right neighbour, which the block rule reuses.
template <class L, class C>
[[gnu::always_inline]] inline L ScoreLine(const L& x, const LineMasks<L>& m, Sums<C>& s) {
    const L next = Shr<1>(x);
    // A run of length R holds R - 4 windows of five: it scores windows + 2 x runs.
    const L same = Without(m.pairs, x ^ next);
    const L three = same & Shr<1>(same);
    const L windows = three & Shr<2>(three);
    s.windows += Count(windows);
    s.starts += Count(Without(windows, Shl1(windows)));
    // dark, light, dark, dark, dark, light, dark, with a light module or the
    // edge on each side: a light-dark-light centre at j and at j + 6, and
    // three dark modules from j + 2.
    const L peak = Without(Without(x, next), Shl1(x));
    const L core = x & next & Shr<2>(x);
    s.finders += CountRare(peak & Shr<6>(peak) & Shr<2>(core) & m.sevens);
    return same;
}

// 2 x 2 squares between row a (with its `same` from ScoreLine) and row b below.
template <class L, class C>
[[gnu::always_inline]] inline void ScoreBlocks(const L& a, const L& sameA, const L& b, Sums<C>& s) {
    const L vertical = Without(sameA, a ^ b);
    s.blocks += Count(Without(vertical, Shr<1>(a ^ b)));
}

}  // namespace mosaiko::penaltylines
