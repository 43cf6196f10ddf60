// Constant patterns and reserved-cell positions of the module matrix.
// A stored position -k stands for N - k, where N is the side of the symbol.
#pragma once

#include <cstdint>

#include "CellFlags.h"

namespace mosaiko::patterns {

struct Position {
    int8_t row;
    int8_t column;
};

constexpr int Resolve(int value, int n) { return value < 0 ? n + value : value; }

// Format information, bit i into entry i of both lists. List 1 runs down
// column 8: bits 0-7 beside the top-left finder, bits 8-14 beside the
// bottom-left one. List 2 runs along row 8: bits 0-7 beside the top-right
// finder, bits 8-14 beside the top-left one. Each list thus holds parts of
// both copies of the format word.
inline constexpr Position kFormatList1[15] = {
    {0, 8}, {1, 8}, {2, 8}, {3, 8}, {4, 8}, {5, 8}, {7, 8}, {8, 8},
    {-7, 8}, {-6, 8}, {-5, 8}, {-4, 8}, {-3, 8}, {-2, 8}, {-1, 8}};
inline constexpr Position kFormatList2[15] = {
    {8, -1}, {8, -2}, {8, -3}, {8, -4}, {8, -5}, {8, -6}, {8, -7}, {8, -8},
    {8, 7}, {8, 5}, {8, 4}, {8, 3}, {8, 2}, {8, 1}, {8, 0}};
inline constexpr Position kDarkModule = {-8, 8};

// Version information, bit i: the 6 x 3 block above the bottom-left finder is
// filled column by column, the 3 x 6 block left of the top-right finder row by row.
constexpr Position VersionList1(int i) { return {static_cast<int8_t>(-11 + i % 3), static_cast<int8_t>(i / 3)}; }
constexpr Position VersionList2(int i) { return {static_cast<int8_t>(i / 3), static_cast<int8_t>(-11 + i % 3)}; }

// Cell values: D a dark function module, L a light one.
inline constexpr uint8_t D = kFunctionBit | kDarkBit;
inline constexpr uint8_t L = kFunctionBit;
inline constexpr uint8_t kFinder[7][7] = {
    {D, D, D, D, D, D, D}, {D, L, L, L, L, L, D}, {D, L, D, D, D, L, D}, {D, L, D, D, D, L, D},
    {D, L, D, D, D, L, D}, {D, L, L, L, L, L, D}, {D, D, D, D, D, D, D}};
inline constexpr uint8_t kAlignment[5][5] = {
    {D, D, D, D, D}, {D, L, L, L, D}, {D, L, D, L, D}, {D, L, L, L, D}, {D, D, D, D, D}};

}  // namespace mosaiko::patterns
