// TBitmap::FillCells: a grid of dark and light cells, as a QR symbol's
// modules are painted. pf32bit pixel rows are written from bit sets, the
// other formats fill the runs as rectangles.
#include <algorithm>
#include <vector>

#include "BitFill.h"
#include "Bitmap.h"

namespace mosaiko {

namespace {

// Bits [from, from + count) of src (words words) into dst from bit 0; the
// rest of dst's last word is cleared.
void CopyBits(const uint64_t* src, int words, int from, int count, uint64_t* dst) {
    const int shift = from & 63;
    const uint64_t* s = src + (from >> 6);
    const int available = words - (from >> 6);
    for (int w = 0; w < BitWords(count); ++w) {
        uint64_t v = s[w] >> shift;
        if (shift != 0 && w + 1 < available) v |= s[w + 1] << (64 - shift);
        dst[w] = v;
    }
    if (count & 63) dst[BitWords(count) - 1] &= (uint64_t{1} << (count & 63)) - 1;
}

// Sets bits [from, to) of dst.
void SetBits(uint64_t* dst, int from, int to) {
    while (from < to) {
        const int end = std::min(to, (from | 63) + 1);
        const uint64_t ones = end - from == 64 ? ~uint64_t{0} : ((uint64_t{1} << (end - from)) - 1);
        dst[from >> 6] |= ones << (from & 63);
        from = end;
    }
}

// One cell row spread over its pixels: bit i of pixels is pixel xBegin + i,
// for count pixels. Wider cells set the pixels of each run (rects: room
// for the runs of a row).
void RowPixelBits(const TCellGrid& grid, int r, int xBegin, int count, TRect* rects, uint64_t* pixels) {
    if (grid.cellWidth == 1) {
        CopyBits(grid.Row(r), BitWords(grid.columns), xBegin - grid.left, count, pixels);
        return;
    }
    std::fill(pixels, pixels + BitWords(count), 0);
    const int runs = CellRunRects(grid, r, rects);
    for (int k = 0; k < runs; ++k) {
        const int from = std::max(rects[k].left - xBegin, 0);
        const int to = std::min(rects[k].right - xBegin, count);
        if (from < to) SetBits(pixels, from, to);
    }
}

}  // namespace

void TBitmap::FillCells(const TCellGrid& grid, TColor color) {
    if (grid.columns <= 0 || grid.rows <= 0 || grid.cellWidth <= 0 || grid.cellHeight <= 0) return;
    // Runs are needed for other formats and for cells wider than a pixel.
    std::vector<TRect> runs(format_ != pf32bit || grid.cellWidth > 1 ? static_cast<size_t>(grid.columns + 1) / 2 : 0);
    if (format_ != pf32bit) {
        for (int r = 0; r < grid.rows; ++r) FillRects(runs.data(), CellRunRects(grid, r, runs.data()), color);
        return;
    }
    const int xBegin = std::max(grid.left, 0);
    const int xEnd = std::min(grid.left + grid.columns * grid.cellWidth, width_);
    if (xBegin >= xEnd) return;
    const int count = xEnd - xBegin;
    uint64_t local[64];  // 4,096 pixels: any QR row up to magnification 23
    std::vector<uint64_t> heap;
    uint64_t* pixels = local;
    if (BitWords(count) > 64) {
        heap.resize(static_cast<size_t>(BitWords(count)));
        pixels = heap.data();
    }
    const uint32_t value = ValueOfColor(color);
    for (int r = 0; r < grid.rows; ++r) {
        const int top = grid.top + r * grid.cellHeight;
        if (top >= height_) break;
        const int yBegin = std::max(top, 0);
        const int yEnd = std::min(top + grid.cellHeight, height_);
        if (yBegin >= yEnd) continue;
        RowPixelBits(grid, r, xBegin, count, runs.data(), pixels);
        for (int y = yBegin; y < yEnd; ++y)
            FillSetBits32(reinterpret_cast<uint32_t*>(ScanLine(y)) + xBegin, pixels, count, value);
    }
}

}  // namespace mosaiko
