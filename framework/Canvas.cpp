#include "Canvas.h"

#include "ShiftJis.h"
#include "TextRender.h"

namespace mosaiko {

void TCanvas::FillRects(const TRect* rects, int count) {
    for (int i = 0; i < count; ++i) FillRect(rects[i].left, rects[i].top, rects[i].right, rects[i].bottom);
}

QSize TCanvas::TextExtent(const std::string& shiftJis) const {
    if (shiftJis.empty()) return QSize(0, 0);
    return MeasureText(font_.ToQFont(), DecodeShiftJis(shiftJis));
}

}  // namespace mosaiko
