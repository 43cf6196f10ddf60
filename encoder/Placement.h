// The zig-zag placement of the codeword bits into the module matrix.
#pragma once

#include <cstdint>

#include "MaskPatterns.h"

namespace mosaiko {

// Two copies of the longest codeword sequence, with room to read past its end.
inline constexpr int kPlacementScratch = 2 * (3706 + 24);

// Where placement finds the free cells and leaves the data bits as lines.
struct PlacementLines {
    const masks::Line* freeColumns;  // cells that are not function modules, per column
    masks::Line* columns;            // out: data bits per column
    masks::Line* rows;               // out: data bits per row
    uint8_t* scratch;                // kPlacementScratch bytes
};

// Writes the first `bits` bits of `sequence`, most significant first, as
// data bits into the free cells of the n x n matrix (stride 177) in the
// standard's walk, and the same bits as lines per column and per row.
// Returns how many free cells the walk passed (bits plus remainder cells).
int PlaceCodewordBits(uint8_t* matrix, int n, const uint8_t* sequence, int bits, const PlacementLines& lines);

// The two ways, for the dispatch and for the tests: the portable walk cell
// by cell, and the walk with BMI2 bit deposit (only where available).
int PlaceBitsPortable(uint8_t* matrix, int n, const uint8_t* sequence, int bits, const PlacementLines& lines);
int PlaceBitsDeposit(uint8_t* matrix, int n, const uint8_t* sequence, int bits, const PlacementLines& lines);
bool DepositPlacementAvailable();

constexpr uint8_t ReversedByte(uint8_t b) {
    uint8_t r = 0;
    for (int i = 0; i < 8; ++i) r = static_cast<uint8_t>(r | (((b >> i) & 1) << (7 - i)));
    return r;
}

}  // namespace mosaiko
