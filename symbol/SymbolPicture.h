// How a finished QR symbol becomes pixels, below any widget: the control's
// painters and the report's pictures both take the modules from here.
#pragma once

#include <QImage>
#include <cstdint>

#include "CellGrid.h"
#include "SymbolEncoder.h"

namespace mosaiko {

// The dark modules of an n x n module matrix (stride kMaxModules, n >= 21) as
// a cell grid: module (r, c) covers pxmag x pxmag pixels from (left + c x
// pxmag, top + r x pxmag). Dark cells are painted, light ones left as
// background.
class SymbolModules {
public:
    SymbolModules(const uint8_t* matrix, int n, int left, int top, int pxmag);
    SymbolModules(const SymbolModules&) = delete;
    SymbolModules& operator=(const SymbolModules&) = delete;
    const TCellGrid& Grid() const { return grid_; }

private:
    static constexpr int kStride = BitWords(kMaxModules);
    uint64_t words_[kMaxModules * kStride];  // rows 0 .. n - 1 are set
    TCellGrid grid_;
};

// The symbol of a result with its quiet zone, black on white, as one bit per
// pixel (black at index 0, white at 1; the bits after each row's last pixel
// white), cut to `limit` pixels a side as a picture of that size cuts it.
// Null when the result holds no symbol.
QImage SymbolImage(const SymbolResult& result, int limit);

}  // namespace mosaiko
