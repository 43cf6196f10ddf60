#include "Canvas.h"

#include "ShiftJis.h"
#include "TextRender.h"

namespace mosaiko {

QSize TCanvas::TextExtent(const std::string& shiftJis) const {
    if (shiftJis.empty()) return QSize(0, 0);
    return MeasureText(font_.ToQFont(), DecodeShiftJis(shiftJis));
}

}  // namespace mosaiko
