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

namespace {

// A time format without one field ('t' the time zone, 's' the seconds),
// outside quoted text, with the separator before it (":", ".", a space).
QString WithoutField(const QString& format, QChar field) {
    QString out;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\'')) quoted = !quoted;
        if (quoted || c != field) {
            out += c;
            continue;
        }
        while (!out.isEmpty() && (out.back() == QLatin1Char(':') || out.back() == QLatin1Char('.') || out.back().isSpace()))
            out.chop(1);
    }
    return out.simplified();
}

}  // namespace

QString SysDataValue(TSysDataType data, const QDateTime& now, int pageNumber,
                     const QLocale& locale, const std::function<bool(const QString&)>& fits) {
    if (data == TSysDataType::sdPageNumber) return QString::number(pageNumber);
    const QString date = locale.toString(now.date(), QLocale::ShortFormat);
    // Shown to the second, so milliseconds past midnight still count as midnight.
    if (now.time().msecsSinceStartOfDay() < 1000) return date;
    const QString noZone = WithoutField(locale.timeFormat(QLocale::LongFormat), QLatin1Char('t'));
    const QString times[] = {locale.toString(now.time(), QLocale::LongFormat), locale.toString(now.time(), noZone),
                             locale.toString(now.time(), QLocale::ShortFormat),
                             locale.toString(now.time(), WithoutField(noZone, QLatin1Char('s')))};
    for (const QString& time : times) {  // the first that fits
        const QString text = date + QLatin1Char(' ') + time;
        if (!fits || fits(text)) return text;
    }
    return date;
}

}  // namespace mosaiko
