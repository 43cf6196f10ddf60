#include "TextRender.h"

#include <QFontMetrics>
#include <QImage>

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
    const QFontMetrics metrics(font, &MeasuringDevice());
    std::vector<int> advances;
    advances.reserve(static_cast<size_t>(text.size()));
    int previous = 0;
    for (qsizetype i = 1; i <= text.size(); ++i) {
        const int upTo = metrics.horizontalAdvance(text.left(i));
        advances.push_back(upTo - previous);
        previous = upTo;
    }
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
