// The zig-zag placement of the codeword bits into the module matrix.
#pragma once

#include <cstdint>

#include "MaskPatterns.h"

namespace mosaiko {

// Writes the first `bits` bits of `sequence`, most significant first, as
// data bits into the free cells of the n x n matrix (stride 177) in the
// standard's walk, and the same bits as one line per column into `columns`
// (all columns 0..n-1). Returns how many free cells the walk passed.
int PlaceBits(uint8_t* matrix, int n, const uint8_t* sequence, int bits, masks::Line* columns);

}  // namespace mosaiko
