// Drawing surface with a brush and a font, after GDI's device context:
// TBitmapCanvas draws into a TBitmap, TMetafileCanvas records into a TMetafile.
// Both measure text with the same font metrics at 96 dpi (TextRender.h).
#pragma once

#include <QSize>
#include <string>

#include "CellGrid.h"
#include "Color.h"
#include "Font.h"
#include "Rect.h"

namespace mosaiko {

class TBrush {
public:
    TColor Color() const { return color_; }
    void SetColor(TColor color) { color_ = color & 0xFFFFFF; }
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle style) { style_ = style; }
    void Assign(const TBrush& source) { *this = source; }
    bool operator==(const TBrush&) const = default;

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
};

class TCanvas {
public:
    TCanvas() = default;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;
    virtual ~TCanvas() = default;

    // A new canvas has a white solid brush and a new TFont.
    TBrush& Brush() { return brush_; }
    const TBrush& Brush() const { return brush_; }
    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }

    // Fills [left, right) x [top, bottom) with the brush colour; the right and
    // bottom edges are not filled. Nothing happens with bsClear or an empty rectangle.
    virtual void FillRect(int left, int top, int right, int bottom) = 0;
    // Fills each of the rectangles in turn as FillRect does, as one drawing
    // call: a canvas that notifies per call notifies once. The default is one
    // FillRect per rectangle.
    virtual void FillRects(const TRect* rects, int count);
    // Fills the dark cells of grid with the brush colour, as one drawing
    // call; light cells are left as they are. The default fills the runs of
    // dark cells of each row with one FillRects call per row, so a recording
    // canvas records one rectangle per run.
    virtual void FillCells(const TCellGrid& grid);
    // Draws Shift-JIS text with the font (its colour) and the text cell's top-left
    // corner at (x, y). With a solid brush the cell (TextExtent) is first filled
    // with the brush colour; with bsClear the background shows through.
    virtual void TextOut(int x, int y, const std::string& shiftJis) = 0;

    // Size of the text cell in pixels with the current font; an empty text is 0 x 0.
    QSize TextExtent(const std::string& shiftJis) const;
    int TextWidth(const std::string& shiftJis) const { return TextExtent(shiftJis).width(); }
    int TextHeight(const std::string& shiftJis) const { return TextExtent(shiftJis).height(); }

protected:
    TBrush brush_;
    TFont font_;
};

}  // namespace mosaiko
