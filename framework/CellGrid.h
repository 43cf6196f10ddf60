// A grid of equal cells, each dark or light, held as bit sets: the form in
// which a QR symbol's modules reach a canvas. Dark cells are filled, light
// cells are left as they are.
#pragma once

#include <cstddef>
#include <cstdint>

#include "Rect.h"

namespace mosaiko {

// Words of a bit set of `bits` bits.
constexpr int BitWords(int bits) { return (bits + 63) / 64; }

struct TCellGrid {
    int left = 0;  // top-left corner of cell (row 0, column 0)
    int top = 0;
    int cellWidth = 1;
    int cellHeight = 1;
    int columns = 0;
    int rows = 0;
    // Bit c of dark[r * stride + c / 64] is set for a dark cell in row r,
    // column c; bits past the last column are ignored.
    const uint64_t* dark = nullptr;
    int stride = 0;  // words per row, at least BitWords(columns)

    const uint64_t* Row(int r) const { return dark + static_cast<std::ptrdiff_t>(r) * stride; }
};

// The columns where a run of dark cells starts or ends (the cell differs
// from its left neighbour; left of column 0 is light), in order, into edges,
// which holds columns + 1 entries: starts and ends alternate and every run
// ends, at `columns` at the latest. Answers their number. Each edge is read
// off on its own, not searched for from the last (a serial chain).
int CellRunEdges(const uint64_t* dark, int columns, int* edges);

// The runs of dark cells of grid row r as rectangles, left to right, into
// rects (room for (columns + 1) / 2). Answers their number.
int CellRunRects(const TCellGrid& grid, int r, TRect* rects);

}  // namespace mosaiko
