// Construction and the property setters. A setter that takes a range ignores
// any other value; the others store and regenerate.
#include "QRSymbols.h"

namespace mosaiko {

TQRSymbols::TQRSymbols(TPictureSurface& surface)
    : surface_(surface), driver_(std::make_unique<QrDriver>()), comFont_(std::make_unique<TFont>()) {}

TQRSymbols::~TQRSymbols() {
    // A canvas left open by an aborted run records into the picture: drop it first.
    metaCanvas_.reset();
}

void TQRSymbols::SetCode(const std::string& code) {
    DoChangeCode();
    driver_->SetCode(code);
    PaintSymbol();
    DoChangedCode();
}

void TQRSymbols::SetBinaryOperation(bool value) {
    driver_->SetBinaryOperation(value);
    PaintSymbol();
}

void TQRSymbols::SetMode(TQRMode value) {
    if (driver_->Encoder().SetMode(value)) PaintSymbol();
}

void TQRSymbols::SetCount(int value) {
    if (driver_->Encoder().SetCount(value)) PaintSymbol();
}

void TQRSymbols::SetColumn(int value) {
    if (!ColumnInRange(value)) return;
    column_ = value;
    PaintSymbol();
}

void TQRSymbols::SetNumbering(TNumbering value) {
    if (value > nbrIfVoid) return;
    numbering_ = value;
    // Numbers are added only when there are several symbols.
    if (Count() > 1) PaintSymbol();
}

void TQRSymbols::SetCommentUp(const std::string& value) {
    commentUp_ = value;
    PaintSymbol();
}

void TQRSymbols::SetCommentUpLoc(TLocation value) {
    commentUpLoc_ = value;
    if (!commentUp_.empty()) PaintSymbol();
}

void TQRSymbols::SetCommentDown(const std::string& value) {
    commentDown_ = value;
    PaintSymbol();
}

void TQRSymbols::SetCommentDownLoc(TLocation value) {
    commentDownLoc_ = value;
    if (!commentDown_.empty()) PaintSymbol();
}

void TQRSymbols::SetSymbolLeft(int value) {
    symbolLeft_ = value;
    PaintSymbol();
}

void TQRSymbols::SetSymbolTop(int value) {
    symbolTop_ = value;
    PaintSymbol();
}

void TQRSymbols::SetSymbolSpaceUp(int value) {
    spaceUp_ = value;
    PaintSymbol();
}

void TQRSymbols::SetSymbolSpaceDown(int value) {
    spaceDown_ = value;
    PaintSymbol();
}

void TQRSymbols::SetSymbolSpaceLeft(int value) {
    spaceLeft_ = value;
    PaintSymbol();
}

void TQRSymbols::SetSymbolSpaceRight(int value) {
    spaceRight_ = value;
    PaintSymbol();
}

void TQRSymbols::SetVersion(int value) {
    if (driver_->Encoder().SetVersion(value)) PaintSymbol();
}

void TQRSymbols::SetEmode(int value) {
    if (driver_->Encoder().SetEmode(value)) PaintSymbol();
}

void TQRSymbols::SetEmodeOptimal(bool value) {
    driver_->Encoder().SetEmodeOptimal(value);
    PaintSymbol();
}

void TQRSymbols::SetEclevel(int value) {
    if (driver_->Encoder().SetEclevel(value)) PaintSymbol();
}

void TQRSymbols::SetMasktype(int value) {
    if (driver_->Encoder().SetMasktype(value)) PaintSymbol();
}

void TQRSymbols::SetPxmag(int value) {
    if (driver_->SetPxmag(value)) PaintSymbol();
}

void TQRSymbols::SetAngle(int value) {
    if (value != 0 && value != 90 && value != 180 && value != 270) return;
    angle_ = value;
    PaintSymbol();
}

// Only a picture sized to its symbols may be a metafile, and a transparent
// picture must be a bitmap, so Match and Transparent exclude each other.
void TQRSymbols::SetMatch(bool value) {
    match_ = value;
    if (value) transparent_ = false;
    else symbolPicture_ = picBMP;
    PaintSymbol();
}

void TQRSymbols::SetTransparent(bool value) {
    transparent_ = value;
    if (value) {
        match_ = false;
        symbolPicture_ = picBMP;
    }
    PaintSymbol();
}

void TQRSymbols::SetSymbolPicture(TPictures value) {
    if (!match_) {
        symbolPicture_ = picBMP;
        return;
    }
    symbolPicture_ = value;
    PaintSymbol();
}

void TQRSymbols::SetComFont(const TFont* value) {
    if (value == nullptr || value == comFont_.get()) return;
    comFont_->Assign(*value);
    PaintSymbol();
}

void TQRSymbols::SetSymbolColor(TColor value) {
    symbolColor_ = value;
    PaintSymbol();
}

void TQRSymbols::SetBackColor(TColor value) {
    backColor_ = value;
    PaintSymbol();
}

void TQRSymbols::SetSymbolEnabled(bool value) {
    if (value == symbolEnabled_) return;
    symbolEnabled_ = value;
    if (value) PaintSymbol();
}

void TQRSymbols::SetClearOption(bool value) {
    if (value && clearOption_) return;
    clearOption_ = value;
    if (value && !symbolDisped_) ClearSymbol();
}

}  // namespace mosaiko
