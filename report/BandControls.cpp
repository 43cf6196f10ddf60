#include "BandControls.h"

#include <cmath>

namespace mosaiko {
namespace {

// About 26 metres at 96 pixels per inch: anything beyond is a mistake.
constexpr int kMaxExtent = 100000;

bool Sane(const QRect& r) {
    return r.width() >= 0 && r.height() >= 0 && r.width() <= kMaxExtent &&
           r.height() <= kMaxExtent && std::abs(r.left()) <= kMaxExtent &&
           std::abs(r.top()) <= kMaxExtent;
}

constexpr double kMinPoints = 1.0;
constexpr double kMaxPoints = 1000.0;
constexpr double kDefaultPoints = 9.0;

}  // namespace

void TReportPrintable::SetBounds(const QRect& bounds) {
    if (Sane(bounds)) bounds_ = bounds;
}

void TReportPrintable::SetLeft(int left) {
    SetBounds(QRect(left, bounds_.top(), bounds_.width(), bounds_.height()));
}

void TReportPrintable::SetTop(int top) {
    SetBounds(QRect(bounds_.left(), top, bounds_.width(), bounds_.height()));
}

void TReportPrintable::SetWidth(int width) {
    SetBounds(QRect(bounds_.left(), bounds_.top(), width, bounds_.height()));
}

void TReportPrintable::SetHeight(int height) {
    SetBounds(QRect(bounds_.left(), bounds_.top(), bounds_.width(), height));
}

TReportCustomLabel::TReportCustomLabel() { font_.setPointSizeF(kDefaultPoints); }

void TReportCustomLabel::SetFont(const QFont& font) {
    double points = font.pointSizeF();
    if (points <= 0 && font.pixelSize() > 0) points = font.pixelSize() * 72.0 / 96.0;
    if (!(points >= kMinPoints && points <= kMaxPoints)) return;
    font_ = font;
    font_.setPointSizeF(points);
}

void TReportCustomLabel::SetFontSize(double points) {
    if (points >= kMinPoints && points <= kMaxPoints) font_.setPointSizeF(points);
}

QString SysDataValue(TSysDataType data, const QDateTime& now, int pageNumber,
                     const QLocale& locale) {
    if (data == TSysDataType::sdPageNumber) return QString::number(pageNumber);
    QString text = locale.toString(now.date(), QLocale::ShortFormat);
    // Shown to the second, so milliseconds past midnight still count as midnight.
    if (now.time().msecsSinceStartOfDay() >= 1000) {
        text += QLatin1Char(' ');
        text += locale.toString(now.time(), QLocale::LongFormat);
    }
    return text;
}

}  // namespace mosaiko
