// Bit-parallel evaluation of the mask penalty.
//
// The mask choice tries all eight masks on every symbol, and reading the
// matrix module by module dominates the cost of encoding. Here each row and
// each column of the symbol is a line of up to 177 bits in three 64-bit words
// (columns come from a transposed copy), and every penalty rule becomes a few
// shifts, ANDs and popcounts per line. The scores equal those of the
// module-by-module rules exactly.
#pragma once

#include <cstdint>

#include "MaskPatterns.h"

namespace mosaiko {

class MaskSearch {
public:
    using Line = masks::Line;

    // Takes the function and data bits of an n x n matrix of cell flags
    // (1 data, 2 dark, 4 function) stored row by row with the given stride.
    void Load(const uint8_t* cells, int stride, int n);

    // Penalty of the loaded symbol with the mask applied; the reserved format
    // and version cells count as light.
    int Penalty(int mask) const;

    // The mask with the lowest penalty; ties keep the lower mask number.
    int BestMask() const;

private:
    template <int W>
    int PenaltyOf(int mask) const;

    int n_ = 0;
    Line freeRows_[177];   // data cells (not function), per row
    Line darkRows_[177];   // dark function modules, per row
    Line dataRows_[177];   // data bits, per row
    Line freeCols_[177];   // the same three, per column
    Line darkCols_[177];
    Line dataCols_[177];
};

}  // namespace mosaiko
