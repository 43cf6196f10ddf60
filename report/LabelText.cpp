#include "LabelText.h"

#include "ShiftJis.h"

#include <QFontMetricsF>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace mosaiko {
namespace {

constexpr char kCarriageReturn = '\r';
constexpr char kLineFeed = '\n';

double LineOffset(TAlignment alignment, double room, double used) {
    switch (alignment) {
        case TAlignment::taCenter: return (room - used) / 2;
        case TAlignment::taRightJustify: return room - used;
        case TAlignment::taLeftJustify: break;
    }
    return 0;
}

// Cuts a paragraph to what could possibly show in the space left, so a huge
// caption costs no more than a full label. The narrowest glyph is taken as an
// eighth of the line height.
QString VisiblePart(const QString& text, const QFontMetricsF& metrics, double width,
                    double heightLeft, bool wrap) {
    const double narrowest = std::max(metrics.height() / 8, 0.01);
    const double perLine = std::ceil(width / narrowest) + 2;
    const double lines = wrap ? std::ceil(heightLeft / std::max(metrics.lineSpacing(), 0.01)) : 1;
    const double limit = perLine * std::max(lines, 1.0);
    if (text.size() <= limit) return text;
    qsizetype cut = static_cast<qsizetype>(limit);
    if (text.at(cut - 1).isHighSurrogate()) --cut;
    return text.left(cut);
}

// Lays out and draws one paragraph from `top`; returns the height it used.
double DrawParagraph(QPainter& painter, const QRectF& rect, double top, const QString& text,
                     const TextStyle& style, const QFontMetricsF& metrics) {
    if (text.isEmpty()) return metrics.lineSpacing();
    QTextOption option;
    option.setWrapMode(style.wordWrap ? QTextOption::WrapAtWordBoundaryOrAnywhere
                                      : QTextOption::NoWrap);
    QTextLayout layout(VisiblePart(text, metrics, rect.width(), rect.height() - top, style.wordWrap),
                       style.font, painter.device());
    layout.setTextOption(option);
    layout.beginLayout();
    double y = top;
    while (y < rect.height()) {
        QTextLine line = layout.createLine();
        if (!line.isValid()) break;
        line.setLeadingIncluded(true);
        line.setLineWidth(rect.width());
        line.setPosition(
            QPointF(LineOffset(style.alignment, rect.width(), line.naturalTextWidth()), y));
        y += line.height();
    }
    layout.endLayout();
    layout.draw(&painter, rect.topLeft());
    return y - top;
}

}  // namespace

QStringList CaptionLines(std::string_view caption, qsizetype maxLines) {
    // Neither byte can be the second byte of a Shift-JIS character, so
    // working on raw bytes is safe.
    std::string text;
    text.reserve(caption.size());
    std::copy_if(caption.begin(), caption.end(), std::back_inserter(text),
                 [](char c) { return c != kLineFeed; });
    QStringList lines;
    const std::string_view rest(text);
    size_t start = 0;
    while (start < rest.size() && lines.size() < maxLines) {
        size_t end = rest.find(kCarriageReturn, start);
        if (end == std::string_view::npos) end = rest.size();
        lines.append(DecodeShiftJis(rest.substr(start, end - start)));
        start = end + 1;
    }
    return lines;
}

void DrawTextLines(QPainter& painter, const QRectF& rect, const QStringList& lines,
                   const TextStyle& style) {
    if (rect.isEmpty() || lines.isEmpty()) return;
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.setFont(style.font);
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(style.font, painter.device());
    double y = 0;
    for (const QString& line : lines) {
        if (y >= rect.height()) break;
        y += DrawParagraph(painter, rect, y, line, style, metrics);
    }
    painter.restore();
}

}  // namespace mosaiko
