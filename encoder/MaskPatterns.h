// The standard's eight mask patterns, as conditions and as bit lines.
#pragma once

#include <array>
#include <cstdint>

#include "SymbolParameters.h"

namespace mosaiko::masks {

// Condition of mask m at row i, column j: where it holds, a data module is inverted.
constexpr bool Condition(int mask, int i, int j) {
    switch (mask) {
    case 0: return (i + j) % 2 == 0;
    case 1: return i % 2 == 0;
    case 2: return j % 3 == 0;
    case 3: return (i + j) % 3 == 0;
    case 4: return (i / 2 + j / 3) % 2 == 0;
    case 5: return (i * j) % 2 + (i * j) % 3 == 0;
    case 6: return ((i * j) % 2 + (i * j) % 3) % 2 == 0;
    default: return ((i * j) % 3 + (i + j) % 2) % 2 == 0;
    }
}

// Up to 177 modules of one row or column, bit k of word k / 64.
struct Line {
    uint64_t w[3];
};

// Every condition repeats every 12 rows and every 12 columns, so twelve
// lines per mask cover any symbol: bit j of Rows[m][i % 12] is the condition
// at (i, j); bit i of Columns[m][j % 12] is the same cell seen from its column.
using PatternSet = std::array<std::array<Line, 12>, 8>;

constexpr PatternSet MakePatterns(bool columns) {
    PatternSet set{};
    for (int m = 0; m < 8; ++m)
        for (int a = 0; a < 12; ++a)
            for (int b = 0; b < kMaxModules; ++b)
                if (columns ? Condition(m, b, a) : Condition(m, a, b)) set[m][a].w[b / 64] |= uint64_t{1} << (b % 64);
    return set;
}
inline constexpr PatternSet kRows = MakePatterns(false);
inline constexpr PatternSet kColumns = MakePatterns(true);

// The patterns again with the masks side by side, for scoring all eight at
// once: word w of the pattern line of phase a under mask m is
// Rows[a][w][m] (Columns likewise), and Rows32[a][m] is word 0's low half.
struct LanePatterns {
    uint64_t rows[12][3][8];
    uint64_t columns[12][3][8];
    uint32_t rows32[12][8];
    uint32_t columns32[12][8];
};
constexpr LanePatterns MakeLanePatterns() {
    LanePatterns t{};
    for (int m = 0; m < 8; ++m)
        for (int a = 0; a < 12; ++a) {
            for (int w = 0; w < 3; ++w) {
                t.rows[a][w][m] = kRows[m][a].w[w];
                t.columns[a][w][m] = kColumns[m][a].w[w];
            }
            t.rows32[a][m] = static_cast<uint32_t>(kRows[m][a].w[0]);
            t.columns32[a][m] = static_cast<uint32_t>(kColumns[m][a].w[0]);
        }
    return t;
}
alignas(32) inline constexpr LanePatterns kLanePatterns = MakeLanePatterns();

// The row patterns again, one byte (0 or 1) per module, for masking the
// byte matrix without bit extraction.
using ByteRows = std::array<std::array<std::array<uint8_t, kMaxModules>, 12>, 8>;
inline constexpr ByteRows kRowBytes = [] {
    ByteRows t{};
    for (int m = 0; m < 8; ++m)
        for (int i = 0; i < 12; ++i)
            for (int j = 0; j < kMaxModules; ++j) t[m][i][j] = Condition(m, i, j) ? 1 : 0;
    return t;
}();

constexpr bool Bit(const Line& line, int k) { return (line.w[k / 64] >> (k % 64)) & 1; }
static_assert(Bit(kRows[1][0], 5) && !Bit(kRows[1][1], 5));
static_assert(Bit(kRows[2][7], 3) && !Bit(kRows[2][7], 4) && Bit(kColumns[2][3], 7));
static_assert(kLanePatterns.rows[7][0][2] == kRows[2][7].w[0] && kLanePatterns.columns32[3][2] == (kColumns[2][3].w[0] & 0xFFFFFFFFu));

}  // namespace mosaiko::masks
