// The one regeneration routine: split, check, prepare the picture, run the
// painters over every symbol, then turn the picture as it is shown.
#include "QRCode3.h"
#include "QRPainters.h"

namespace mosaiko {

void TQRCode::PaintSymbol() {
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

    const bool autoSize = AutoSize();
    const bool stretch = Stretch();
    SetAutoSize(false);
    SetStretch(false);
    const bool bitmapRun = symbolPicture_ == picBMP;
    TFont canvasFont;
    if (bitmapRun) {
        canvasFont = Canvas().Font();
        Canvas().Font().Assign(*comFont_);
    }

    RunPainter();

    symbolLeft_ = left;
    symbolTop_ = top;
    if (bitmapRun) Canvas().Font().Assign(canvasFont);
    SetStretch(stretch);
    SetAutoSize(autoSize);
    // A failed Match run was never turned back, so it is not turned either.
    if (!match_ || symbolDisped_) RotatePicture(angle_);
    DoPaintedSymbol();
    if (!symbolDisped_ && clearOption_ && !symbolDebug_) ClearSymbol();
}

// A picture of another kind, or none, becomes a bitmap of the control's size;
// a bitmap with pixels keeps them, so symbols can be painted over it.
void TQRCode::PrepareBitmap() {
    TBitmap& bitmap = Picture().Bitmap();
    if (bitmap.Empty()) bitmap.SetSize(Width(), Height());
}

// The block's corner as shown (after turning by Angle) mapped to the upright
// picture, with the control's current size.
void TQRCode::MoveOriginToUnturned(int left, int top) {
    const int w = Width();
    const int h = Height();
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

void TQRCode::RunPainter() {
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

void TQRCode::CloseMetafileCanvas() {
    if (!metaCanvas_) return;
    metaCanvas_->Close();
    metaCanvas_.reset();
}

}  // namespace mosaiko
