#include "Canvas.h"

#include <vector>

#include "ShiftJis.h"
#include "TextRender.h"

namespace mosaiko {

void TCanvas::FillRects(const TRect* rects, int count) {
    for (int i = 0; i < count; ++i) FillRect(rects[i].left, rects[i].top, rects[i].right, rects[i].bottom);
}

void TCanvas::FillCells(const TCellGrid& grid) {
    if (grid.columns <= 0) return;
    std::vector<TRect> runs(static_cast<size_t>(grid.columns + 1) / 2);
    for (int r = 0; r < grid.rows; ++r) FillRects(runs.data(), CellRunRects(grid, r, runs.data()));
}

QSize TCanvas::TextExtent(const std::string& shiftJis) const {
    if (shiftJis.empty()) return QSize(0, 0);
    return MeasureText(font_.ToQFont(), DecodeShiftJis(shiftJis));
}

}  // namespace mosaiko
