#include "ReportPage.h"

#include <QPageSize>
#include <QSizeF>
#include <cmath>

namespace mosaiko {
namespace {

constexpr double kMinLength = 50.0;
constexpr double kMaxLength = 5000.0;
constexpr double kA4Length = 297.0;

// True when a margin of mm leaves enough room beside the opposite one.
bool MarginFits(double mm, double opposite, double extent) {
    return mm >= 0 && extent - mm - opposite >= TReportPage::kMinPrintable;
}

}  // namespace

void TReportPage::SetLength(double mm) {
    if (mm >= kMinLength && mm <= kMaxLength && MarginFits(top_, bottom_, mm)) length_ = mm;
}

void TReportPage::SetTopMargin(double mm) {
    if (MarginFits(mm, bottom_, length_)) top_ = mm;
}

void TReportPage::SetBottomMargin(double mm) {
    if (MarginFits(mm, top_, length_)) bottom_ = mm;
}

void TReportPage::SetLeftMargin(double mm) {
    if (MarginFits(mm, right_, width_)) left_ = mm;
}

void TReportPage::SetRightMargin(double mm) {
    if (MarginFits(mm, left_, width_)) right_ = mm;
}

void TReportPage::SetZoom(int percent) {
    if (percent >= 10 && percent <= 400) zoom_ = percent;
}

QPageLayout TReportPage::PaperLayout() const {
    const QPageSize size = length_ == kA4Length
                               ? QPageSize(QPageSize::A4)
                               : QPageSize(QSizeF(width_, length_), QPageSize::Millimeter,
                                           QString(), QPageSize::ExactMatch);
    QPageLayout layout(size, QPageLayout::Portrait, QMarginsF(), QPageLayout::Millimeter,
                       QMarginsF());
    // Full-page mode puts the painter's origin at the paper's corner even on
    // printers that cannot print up to the edge.
    layout.setMode(QPageLayout::FullPageMode);
    return layout;
}

}  // namespace mosaiko
