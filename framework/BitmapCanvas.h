// Canvas that draws into a TBitmap. Rectangles are written straight into the
// pixels (exact edges, no smoothing, at every depth). Text is drawn with
// QPainter on the bitmap's own storage for pf16bit, pf24bit and pf32bit; an
// indexed bitmap is drawn on through an RGB copy whose changed pixels are
// written back as the nearest palette entries. Every drawing call notifies the
// bitmap's owner (TBitmap::Changed).
#pragma once

#include <functional>

#include "Bitmap.h"
#include "Canvas.h"

namespace mosaiko {

class TBitmapCanvas : public TCanvas {
public:
    // Draws on bitmap, which must outlive the canvas.
    explicit TBitmapCanvas(TBitmap& bitmap);
    // Asks target for the bitmap at every drawing call (it may throw); used by
    // TImage, whose picture may hold a different bitmap from one call to the next.
    explicit TBitmapCanvas(std::function<TBitmap&()> target);

    void FillRect(int left, int top, int right, int bottom) override;
    // Asks for the bitmap and notifies once for all the rectangles.
    void FillRects(const TRect* rects, int count) override;
    // Straight into the pixels, then one notification.
    void FillCells(const TCellGrid& grid) override;
    void TextOut(int x, int y, const std::string& shiftJis) override;

    TBitmap& Bitmap() { return target_(); }

private:
    std::function<TBitmap&()> target_;
};

}  // namespace mosaiko
