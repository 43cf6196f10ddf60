#include "LabelText.h"

#include "ShiftJis.h"

#include <QFontMetricsF>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

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

constexpr char16_t kEllipsis = u'\u2026';

// One line that shows: its layout (none for an empty paragraph) and index.
struct ShownLine {
    const QTextLayout* layout = nullptr;
    int index = 0;
    double y = 0;
};

// The lines of a label, laid out as far as whole lines fit the box.
struct LaidOutText {
    std::vector<std::unique_ptr<QTextLayout>> layouts;
    std::vector<ShownLine> shown;
    bool cut = false;

    // True when every shown line lies inside a box of this size, so drawing
    // needs no clip (a clip costs a path in every PDF element that follows).
    bool Inside(const QSizeF& box) const {
        if (cut) return false;
        for (const ShownLine& line : shown) {
            if (!line.layout) continue;
            const QRectF r = line.layout->lineAt(line.index).naturalTextRect();
            if (r.left() < 0 || r.right() > box.width() || r.top() < 0 || r.bottom() > box.height()) return false;
        }
        return true;
    }
};

// Lays out one paragraph from `y`; false when a line did not fit.
bool LayOutParagraph(LaidOutText& out, double& y, const QString& text, const QSizeF& box,
                     const TextStyle& style, const QFontMetricsF& metrics, QPaintDevice* device) {
    // Only whole lines show, but a label lower than one line still shows
    // its first line (clipped), so it is never blank.
    auto fits = [&](double height) { return y + height <= box.height() || out.shown.empty(); };
    if (text.isEmpty()) {
        if (!fits(metrics.lineSpacing())) return false;
        out.shown.push_back({nullptr, 0, y});
        y += metrics.lineSpacing();
        return true;
    }
    const QString visible = VisiblePart(text, metrics, box.width(), box.height() - y, style.wordWrap);
    QTextOption option;
    option.setWrapMode(style.wordWrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    auto layout = std::make_unique<QTextLayout>(visible, style.font, device);
    layout->setTextOption(option);
    // Keeps the shaped glyphs past endLayout(), which otherwise drops them
    // and drawing shapes the whole text a second time.
    layout->setCacheEnabled(true);
    layout->beginLayout();
    bool whole = true;
    for (;;) {
        QTextLine line = layout->createLine();
        if (!line.isValid()) break;
        line.setLeadingIncluded(true);
        line.setLineWidth(box.width());
        if (!fits(line.height())) {
            whole = false;
            break;
        }
        line.setPosition(QPointF(LineOffset(style.alignment, box.width(), line.naturalTextWidth()), y));
        out.shown.push_back({layout.get(), line.lineNumber(), y});
        y += line.height();
    }
    layout->endLayout();
    out.layouts.push_back(std::move(layout));
    return whole && visible.size() == text.size();
}

LaidOutText LayOut(QPaintDevice* device, const QSizeF& box, const QStringList& lines, const TextStyle& style) {
    LaidOutText out;
    const QFontMetricsF metrics(style.font, device);
    double y = 0;
    for (const QString& line : lines) {
        if (!LayOutParagraph(out, y, line, box, style, metrics, device)) {
            out.cut = true;
            break;
        }
    }
    return out;
}

// The last line that shows, with "…" in place of what follows: its own text
// shortened until the mark fits the width.
void DrawCutLine(QPainter& painter, const QRectF& rect, const ShownLine& shown, const TextStyle& style) {
    QString text;
    if (shown.layout) {
        const QTextLine line = shown.layout->lineAt(shown.index);
        text = shown.layout->text().mid(line.textStart(), line.textLength());
    }
    const QFontMetricsF metrics(style.font, painter.device());
    while (!text.isEmpty() && (text.back().isSpace() ||
                               metrics.horizontalAdvance(text + kEllipsis) > rect.width())) {
        text.chop(text.size() > 1 && text.at(text.size() - 1).isLowSurrogate() ? 2 : 1);
    }
    QTextLayout layout(text + kEllipsis, style.font, painter.device());
    layout.setCacheEnabled(true);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLeadingIncluded(true);
    line.setLineWidth(rect.width());
    line.setPosition(QPointF(LineOffset(style.alignment, rect.width(), line.naturalTextWidth()), shown.y));
    layout.endLayout();
    layout.draw(&painter, rect.topLeft());
}

// At most the lines that one line of height each could show, and one more
// to tell that the caption goes on.
QStringList VisibleCaptionLines(std::string_view caption, const QFont& font, double boxHeight,
                                QPaintDevice* device) {
    const double linePixels = font.pointSizeF() * device->logicalDpiY() / 72.0;
    const qsizetype maxLines = static_cast<qsizetype>(std::ceil(boxHeight / std::max(linePixels, 0.01))) + 1;
    return CaptionLines(caption, maxLines);
}

}  // namespace

struct KeptLayout::Kept {
    const QPaintDevice* device = nullptr;
    double width = 0;
    double height = 0;
    QStringList lines;
    TextStyle style;
    LaidOutText text;

    // Exact equality throughout: a layout is reused only for what would lay out the same.
    bool Matches(const QPaintDevice* d, const QSizeF& box, const QStringList& l, const TextStyle& s) const {
        return d == device && box.width() == width && box.height() == height && s.font.isCopyOf(style.font) &&
               s.alignment == style.alignment && s.wordWrap == style.wordWrap && l == lines;
    }
};

KeptLayout::KeptLayout() = default;
KeptLayout::~KeptLayout() = default;
KeptLayout::KeptLayout(KeptLayout&&) noexcept = default;
KeptLayout& KeptLayout::operator=(KeptLayout&&) noexcept = default;

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
                   const TextStyle& style, KeptLayout* kept) {
    if (rect.isEmpty() || lines.isEmpty()) return;
    QPaintDevice* device = painter.device();
    LaidOutText fresh;
    const bool reused = kept && kept->kept_ && kept->kept_->Matches(device, rect.size(), lines, style);
    if (!reused) fresh = LayOut(device, rect.size(), lines, style);
    const LaidOutText& text = reused ? kept->kept_->text : fresh;
    painter.save();
    if (!text.Inside(rect.size())) painter.setClipRect(rect, Qt::IntersectClip);
    painter.setFont(style.font);
    painter.setPen(Qt::black);
    const size_t whole = text.shown.size() - (text.cut && !text.shown.empty() ? 1 : 0);
    for (size_t i = 0; i < whole; ++i) {
        const ShownLine& shown = text.shown[i];
        if (shown.layout) shown.layout->lineAt(shown.index).draw(&painter, rect.topLeft());
    }
    if (whole < text.shown.size()) DrawCutLine(painter, rect, text.shown.back(), style);
    painter.restore();
    if (kept && !reused)
        kept->kept_.reset(new KeptLayout::Kept{device, rect.width(), rect.height(), lines, style, std::move(fresh)});
}

bool LineFitsWidth(QPaintDevice* device, double width, const QString& line, const TextStyle& style) {
    // Tall enough for the line, so only the width decides.
    const QSizeF box(width, std::numeric_limits<double>::max() / 4);
    return LayOut(device, box, QStringList{line}, style).Inside(box);
}

TextFit FitCaption(QPaintDevice* device, const QSizeF& box, std::string_view caption, const TextStyle& style) {
    if (box.isEmpty()) return {};
    const QStringList lines = VisibleCaptionLines(caption, style.font, box.height(), device);
    const LaidOutText text = LayOut(device, box, lines, style);
    return {static_cast<int>(text.shown.size()), text.cut};
}

void DrawCaption(QPainter& painter, const QRectF& rect, std::string_view caption, const TextStyle& style,
                 KeptLayout* kept) {
    DrawTextLines(painter, rect, VisibleCaptionLines(caption, style.font, rect.height(), painter.device()), style,
                  kept);
}

}  // namespace mosaiko
