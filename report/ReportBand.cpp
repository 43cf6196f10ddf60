#include "ReportBand.h"

#include "ReportUnits.h"

#include <cmath>

namespace mosaiko {
namespace {

constexpr double kMaxBandMm = 10000.0;

bool SaneLength(double mm) { return mm > 0 && mm <= kMaxBandMm; }

}  // namespace

void TBandSize::SetHeight(double mm) {
    if (SaneLength(mm)) height_ = mm;
}

void TBandSize::SetWidth(double mm) {
    if (SaneLength(mm)) width_ = mm;
}

QRect TReportBand::Bounds() const {
    return QRect(position_,
                 QSize(static_cast<int>(std::lround(MmToDesignPixels(size_.Width()))),
                       static_cast<int>(std::lround(MmToDesignPixels(size_.Height())))));
}

void TReportBand::SetBounds(const QRect& bounds) {
    const double width = DesignPixelsToMm(bounds.width());
    const double height = DesignPixelsToMm(bounds.height());
    if (!SaneLength(width) || !SaneLength(height)) return;
    position_ = bounds.topLeft();
    size_.SetWidth(width);
    size_.SetHeight(height);
}

void TReportBand::SetHeight(int pixels) {
    QRect r = Bounds();
    r.setHeight(pixels);
    SetBounds(r);
}

void TReportBand::SetWidth(int pixels) {
    QRect r = Bounds();
    r.setWidth(pixels);
    SetBounds(r);
}

template <typename T>
T* TReportBand::Add() {
    auto control = std::make_unique<T>();
    T* raw = control.get();
    controls_.push_back(std::move(control));
    return raw;
}

TReportLabel* TReportBand::AddLabel() { return Add<TReportLabel>(); }
TReportImage* TReportBand::AddImage() { return Add<TReportImage>(); }
TReportSysData* TReportBand::AddSysData() { return Add<TReportSysData>(); }

}  // namespace mosaiko

