// The mask penalty's weights and its two closed-form rules, shared by the
// module-by-module scorer and the bit-parallel mask search.
#pragma once

namespace mosaiko::penalty {

inline constexpr int kN1 = 3;   // a run of five equal modules, plus one per module beyond
inline constexpr int kN2 = 3;   // each 2 x 2 block of one colour
inline constexpr int kN3 = 40;  // each finder-like pattern
inline constexpr int kN4 = 10;  // each full 5 % step of dark modules away from half
inline constexpr int kMinRun = 5;

constexpr int RunPenalty(int run) { return run >= kMinRun ? kN1 + (run - kMinRun) : 0; }

// The dark percentage is truncated to a whole number before the 5 % steps.
constexpr int BalancePenalty(int dark, int total) {
    const int percent = 100 * dark / total;
    const int deviation = percent > 50 ? percent - 50 : 50 - percent;
    return kN4 * (deviation / 5);
}

static_assert(RunPenalty(4) == 0 && RunPenalty(5) == 3 && RunPenalty(7) == 5);
static_assert(BalancePenalty(50, 100) == 0 && BalancePenalty(44, 100) == 10 && BalancePenalty(39, 100) == 20);

}  // namespace mosaiko::penalty
