#include "CellGrid.h"

#include <bit>
#include <vector>

namespace mosaiko {

int CellRunEdges(const uint64_t* dark, int columns, int* edges) {
    int count = 0;
    uint64_t carry = 0;  // the last cell of the previous word
    for (int w = 0; w < BitWords(columns); ++w) {
        const int rest = columns - w * 64;
        const uint64_t bits = rest < 64 ? dark[w] & ((uint64_t{1} << rest) - 1) : dark[w];
        uint64_t changes = bits ^ ((bits << 1) | carry);
        carry = bits >> 63;
        for (; changes != 0; changes &= changes - 1) edges[count++] = w * 64 + std::countr_zero(changes);
    }
    // A run up to the last column of a full word has no change bit left to end it.
    if (carry != 0) edges[count++] = columns;
    return count;
}

int CellRunRects(const TCellGrid& grid, int r, TRect* rects) {
    // A QR row (at most 177 modules) needs no allocation.
    int local[256];
    std::vector<int> heap;
    int* edges = local;
    if (grid.columns >= 256) {
        heap.resize(static_cast<std::size_t>(grid.columns) + 1);
        edges = heap.data();
    }
    const int edgeCount = CellRunEdges(grid.Row(r), grid.columns, edges);
    const int top = grid.top + r * grid.cellHeight;
    const int w = grid.cellWidth;
    int count = 0;
    for (int e = 0; e + 1 < edgeCount; e += 2)
        rects[count++] = TRect{grid.left + edges[e] * w, top, grid.left + edges[e + 1] * w, top + grid.cellHeight};
    return count;
}

}  // namespace mosaiko
