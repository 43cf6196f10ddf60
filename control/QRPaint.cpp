// The one regeneration routine: split, check, prepare the picture, run the
// painters over every symbol, then turn the picture as it is shown.
#include "QRPainters.h"

namespace mosaiko {

void TQRSymbols::PaintSymbol() {
    if (!symbolEnabled_) return;
    symbolDisped_ = false;
    driver_->SplitData();
    CheckSettings();
    driver_->SetCurrentSymbol(1);
    DoPaintSymbol();

    PrepareBitmap();
    const int left = symbolLeft_;
    const int top = symbolTop_;
    // Without Match the user's corner is where the block is seen after the
    // turn: paint upright at the matching corner, on the picture turned back.
    if (!match_) {
        MoveOriginToUnturned(left, top);
        RotatePicture(360 - angle_);
    }

    const bool autoSize = surface_.AutoSize();
    const bool stretch = surface_.Stretch();
    surface_.SetAutoSize(false);
    surface_.SetStretch(false);
    const bool bitmapRun = symbolPicture_ == picBMP;
    TFont canvasFont;
    if (bitmapRun) {
        canvasFont = surface_.Canvas().Font();
        surface_.Canvas().Font().Assign(*comFont_);
    }

    RunPainter();

    symbolLeft_ = left;
    symbolTop_ = top;
    if (bitmapRun) surface_.Canvas().Font().Assign(canvasFont);
    surface_.SetStretch(stretch);
    surface_.SetAutoSize(autoSize);
    // A failed Match run was never turned back, so it is not turned either.
    if (!match_ || symbolDisped_) RotatePicture(angle_);
    DoPaintedSymbol();
    if (!symbolDisped_ && clearOption_ && !symbolDebug_) ClearSymbol();
}

// A picture of another kind, or none, becomes a bitmap of the surface's size;
// a bitmap with pixels keeps them, so symbols can be painted over it.
void TQRSymbols::PrepareBitmap() {
    TBitmap& bitmap = surface_.Picture().Bitmap();
    if (bitmap.Empty()) bitmap.SetSize(surface_.Width(), surface_.Height());
}

// The block's corner as shown (after turning by Angle) mapped to the upright
// picture, with the surface's current size.
void TQRSymbols::MoveOriginToUnturned(int left, int top) {
    const int w = surface_.Width();
    const int h = surface_.Height();
    switch (angle_) {
    case 90:
        symbolLeft_ = top;
        symbolTop_ = w - left - SymbolHeightA();
        break;
    case 180:
        symbolLeft_ = w - left - SymbolWidthA();
        symbolTop_ = h - top - SymbolHeightA();
        break;
    case 270:
        symbolLeft_ = h - top - SymbolWidthA();
        symbolTop_ = left;
        break;
    default: break;
    }
}

void TQRSymbols::RunPainter() {
    if (symbolPicture_ == picBMP) {
        TBitmapPainter painter(*this);
        driver_->RunSymbols(painter);
    } else {
        TMetafilePainter painter(*this);
        driver_->RunSymbols(painter);
    }
    // A run that stopped early keeps the symbols recorded so far.
    CloseMetafileCanvas();
}

void TQRSymbols::CloseMetafileCanvas() {
    if (!metaCanvas_) return;
    metaCanvas_->Close();
    metaCanvas_.reset();
}

}  // namespace mosaiko
