#include "TextRender.h"

#include <QFontMetrics>
#include <QImage>
#include <algorithm>

namespace mosaiko {
namespace {

// 96 dpi = 3779.5 dots per metre; QImage rounds its logical dpi back to 96.
constexpr int kDotsPerMeter96 = 3780;

const QImage& MeasuringDevice() {
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        image.setDotsPerMeterX(kDotsPerMeter96);
        image.setDotsPerMeterY(kDotsPerMeter96);
        return image;
    }();
    return device;
}

}  // namespace

QSize MeasureText(const QFont& font, const QString& text) {
    if (text.isEmpty()) return QSize(0, 0);
    const QFontMetrics metrics(font, &MeasuringDevice());
    return QSize(metrics.horizontalAdvance(text), metrics.ascent() + metrics.descent());
}

int FontAscent(const QFont& font) { return QFontMetrics(font, &MeasuringDevice()).ascent(); }

std::vector<int> CharacterAdvances(const QFont& font, const QString& text) {
    // Each advance is the growth of the measured prefix. Measuring every
    // prefix from the start would take time quadratic in the length, so the
    // prefixes are measured within pieces of kPiece units, on top of the
    // width of the pieces before; only kerning across a piece boundary is
    // lost, and the last advance makes up the total of MeasureText.
    constexpr qsizetype kPiece = 64;
    const QFontMetricsF metrics(font, &MeasuringDevice());
    std::vector<int> advances;
    advances.reserve(static_cast<size_t>(text.size()));
    qreal before = 0;  // width of the pieces done
    int previous = 0;
    for (qsizetype start = 0; start < text.size();) {
        qsizetype length = std::min(kPiece, text.size() - start);
        if (text.at(start + length - 1).isHighSurrogate() && start + length < text.size()) ++length;
        const QString piece = text.mid(start, length);
        for (qsizetype i = 1; i <= length; ++i) {
            const int upTo = qRound(before + metrics.horizontalAdvance(piece.left(i)));
            advances.push_back(upTo - previous);
            previous = upTo;
        }
        before += metrics.horizontalAdvance(piece);
        start += length;
    }
    if (!advances.empty()) advances.back() += MeasureText(font, text).width() - previous;
    return advances;
}

void DrawTextAt(QPainter& painter, const QFont& font, TColor color, int x, int y, const QString& text) {
    if (text.isEmpty()) return;
    painter.save();
    painter.setFont(font);
    painter.setPen(ColorToQColor(color));
    painter.drawText(QPoint(x, y + FontAscent(font)), text);
    painter.restore();
}

}  // namespace mosaiko
