// Text of labels and system-data fields: splitting a Shift-JIS caption into
// lines, and drawing whole lines into a rectangle they never leave.
#pragma once

#include "BandControls.h"

#include <QFont>
#include <QPainter>
#include <QRectF>
#include <QStringList>
#include <limits>
#include <memory>
#include <string_view>

namespace mosaiko {

// A carriage return ends a line and line feeds are dropped, so both CR and
// CR LF line ends give one break. A trailing CR adds no empty line. At most
// maxLines lines are decoded.
QStringList CaptionLines(std::string_view caption,
                         qsizetype maxLines = std::numeric_limits<qsizetype>::max());

struct TextStyle {
    QFont font;
    TAlignment alignment = TAlignment::taLeftJustify;
    bool wordWrap = false;
};

// The layout of the lines a control drew last, kept so that the same lines in
// a box of the same size and style are drawn again without laying them out
// anew (a page header's title and date repeat on every page).
class KeptLayout {
public:
    KeptLayout();
    ~KeptLayout();
    KeptLayout(KeptLayout&&) noexcept;
    KeptLayout& operator=(KeptLayout&&) noexcept;

    struct Kept;

private:
    friend void DrawTextLines(QPainter&, const QRectF&, const QStringList&, const TextStyle&, KeptLayout*);
    std::unique_ptr<Kept> kept_;
};

// Draws lines from the top of rect, clipped to it. With word wrap a line
// breaks at word boundaries, or anywhere when a word (or Japanese text without
// spaces) is wider than rect. Only whole lines are drawn (a rect lower than
// one line still shows its first line, clipped); when text is left over, the
// last line drawn ends with "…". Text below the rectangle is not laid out.
void DrawTextLines(QPainter& painter, const QRectF& rect, const QStringList& lines,
                   const TextStyle& style, KeptLayout* kept = nullptr);

// Whether `line` drawn by DrawTextLines in a rectangle `width` device pixels
// wide shows whole, without the clip.
bool LineFitsWidth(QPaintDevice* device, double width, const QString& line, const TextStyle& style);

// How a caption lays out in a box of device pixels: the lines that show and
// whether some of it is cut. DrawCaption draws exactly these lines.
struct TextFit {
    int shownLines = 0;
    bool cut = false;
};
TextFit FitCaption(QPaintDevice* device, const QSizeF& box, std::string_view caption, const TextStyle& style);
void DrawCaption(QPainter& painter, const QRectF& rect, std::string_view caption, const TextStyle& style,
                 KeptLayout* kept = nullptr);

}  // namespace mosaiko
