// A metafile: a recording of drawing made through a TMetafileCanvas on a
// reference device of 96 pixels per inch, kept as a list of plain records in
// the order they were drawn, so that it can be replayed with QPainter and
// written out as EMF or WMF records (GDI's model: objects and colours are
// selected into the device context, then drawing operations use them).
//
// All coordinates are integer pixels of the reference device, colours are
// TColor values, font heights are character heights in pixels (GDI's negative
// lfHeight). Text is kept as the Shift-JIS bytes that were drawn, with the text
// cell placed at its top-left corner (GDI's TA_TOP | TA_LEFT).
#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>
#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "ChangeNotifier.h"
#include "Color.h"
#include "Font.h"

namespace mosaiko {

// Font attributes as selected into the device (the text colour is a separate record).
struct TMetaFont {
    QString name;
    int height = TFont::kDefaultHeight;  // character height in pixels
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    static TMetaFont FromFont(const TFont& font);
    TFont ToFont(TColor color = clBlack) const;
    bool operator==(const TMetaFont&) const = default;
};

// Select a brush (EMR_CREATEBRUSHINDIRECT + EMR_SELECTOBJECT); bsClear = BS_NULL.
struct TMetaSelectBrush {
    TColor color = clWhite;
    TBrushStyle style = bsSolid;
    bool operator==(const TMetaSelectBrush&) const = default;
};
// Fill [left, right) x [top, bottom) with the selected brush.
struct TMetaFillRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const TMetaFillRect&) const = default;
};
// Select a font (EMR_EXTCREATEFONTINDIRECTW + EMR_SELECTOBJECT).
struct TMetaSelectFont {
    TMetaFont font;
    bool operator==(const TMetaSelectFont&) const = default;
};
struct TMetaSetTextColor {
    TColor color = clBlack;
    bool operator==(const TMetaSetTextColor&) const = default;
};
struct TMetaSetBkColor {
    TColor color = clWhite;
    bool operator==(const TMetaSetBkColor&) const = default;
};
// OPAQUE (true) or TRANSPARENT (false) text background.
struct TMetaSetBkMode {
    bool opaque = true;
    bool operator==(const TMetaSetBkMode&) const = default;
};
// Text with the cell's top-left corner at (x, y), drawn with the selected font
// and text colour, over a background of the background colour when the mode is
// opaque. width and height are the measured text cell (the opaque rectangle);
// advances hold one advance in pixels per UTF-16 unit of the decoded text
// (DecodeShiftJis(text)), adding up to width.
struct TMetaTextOut {
    int x = 0, y = 0;
    std::string text;  // Shift-JIS bytes
    int width = 0, height = 0;
    std::vector<int> advances;
    bool operator==(const TMetaTextOut&) const = default;
};

using TMetafileRecord = std::variant<TMetaSelectBrush, TMetaFillRect, TMetaSelectFont, TMetaSetTextColor,
                                     TMetaSetBkColor, TMetaSetBkMode, TMetaTextOut>;

// Takes each record as it is drawn, for a recording written out while it is
// made instead of kept whole (a picture of a thousand symbols).
using TMetafileSink = std::function<void(const TMetafileRecord&)>;

// The smallest rectangle holding what records given in order draw.
class TMetafileBounds {
public:
    void Add(const TMetafileRecord& record);
    QRect Rect() const { return bounds_; }

private:
    QRect bounds_;
    bool brushClear_ = false;
};

class TMetafile : public TChangeNotifier {
public:
    static constexpr int kReferenceDpi = 96;

    TMetafile() = default;
    TMetafile(int width, int height) : width_(width > 0 ? width : 0), height_(height > 0 ? height : 0) {}

    // Size in reference-device pixels; settable at any time (the recording is kept).
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetWidth(int width);
    void SetHeight(int height);
    void SetSize(int width, int height);
    // Size in 0.01 mm (EMF frame, clipboard picture extents).
    int MMWidth() const;
    int MMHeight() const;

    // True until a recording has been completed (TMetafileCanvas::Close) or set.
    bool Empty() const { return !recorded_; }
    const std::vector<TMetafileRecord>& Records() const { return records_; }
    // Replaces the recording; the metafile is no longer empty. Notifies.
    void SetRecords(std::vector<TMetafileRecord> records);
    // Back to a new metafile: no records, size 0 x 0, empty. Notifies.
    void Clear();
    // Smallest rectangle holding everything drawn (EMF bounds); null when nothing is.
    QRect Bounds() const;

    // Replays the records, mapping (0, 0, Width, Height) onto target.
    void Play(QPainter& painter, const QRect& target) const;
    // The metafile drawn at scale onto an image of (Width x Height) * scale
    // (rounded up) first filled with background.
    QImage ToQImage(double scale = 1.0, TColor background = clWhite) const;

    // Copies size and recording of source, then notifies.
    void Assign(const TMetafile& source);

private:
    int width_ = 0;
    int height_ = 0;
    bool recorded_ = false;
    std::vector<TMetafileRecord> records_;
};

}  // namespace mosaiko
