// Construction and the property setters. A setter that takes a range ignores
// any other value; the others store and regenerate.
#include "QRCode3.h"

namespace mosaiko {

TQRCode::TQRCode(QWidget* owner)
    : TImage(owner), driver_(std::make_unique<QrDriver>()), comFont_(std::make_unique<TFont>()) {
    onClipboardChange_ = [this](TQRCode* sender) { ClipboardChanged(sender); };
    UpdateClipboardChain();
    skipNext_ = false;
}

TQRCode::~TQRCode() {
    SetClipWatch(false);
    // A canvas left open by an aborted run records into our picture: drop it first.
    metaCanvas_.reset();
}

void TQRCode::SetCode(const std::string& code) {
    DoChangeCode();
    driver_->SetCode(code);
    PaintSymbol();
    DoChangedCode();
}

void TQRCode::SetBinaryOperation(bool value) {
    driver_->SetBinaryOperation(value);
    PaintSymbol();
}

void TQRCode::SetMode(TQRMode value) {
    if (driver_->Encoder().SetMode(value)) PaintSymbol();
}

void TQRCode::SetCount(int value) {
    if (driver_->Encoder().SetCount(value)) PaintSymbol();
}

void TQRCode::SetColumn(int value) {
    if (!ColumnInRange(value)) return;
    column_ = value;
    PaintSymbol();
}

void TQRCode::SetNumbering(TNumbering value) {
    if (value > nbrIfVoid) return;
    numbering_ = value;
    // Numbers are added only when there are several symbols.
    if (Count() > 1) PaintSymbol();
}

void TQRCode::SetCommentUp(const std::string& value) {
    commentUp_ = value;
    PaintSymbol();
}

void TQRCode::SetCommentUpLoc(TLocation value) {
    commentUpLoc_ = value;
    if (!commentUp_.empty()) PaintSymbol();
}

void TQRCode::SetCommentDown(const std::string& value) {
    commentDown_ = value;
    PaintSymbol();
}

void TQRCode::SetCommentDownLoc(TLocation value) {
    commentDownLoc_ = value;
    if (!commentDown_.empty()) PaintSymbol();
}

void TQRCode::SetSymbolLeft(int value) {
    symbolLeft_ = value;
    PaintSymbol();
}

void TQRCode::SetSymbolTop(int value) {
    symbolTop_ = value;
    PaintSymbol();
}

void TQRCode::SetSymbolSpaceUp(int value) {
    spaceUp_ = value;
    PaintSymbol();
}

void TQRCode::SetSymbolSpaceDown(int value) {
    spaceDown_ = value;
    PaintSymbol();
}

void TQRCode::SetSymbolSpaceLeft(int value) {
    spaceLeft_ = value;
    PaintSymbol();
}

void TQRCode::SetSymbolSpaceRight(int value) {
    spaceRight_ = value;
    PaintSymbol();
}

void TQRCode::SetVersion(int value) {
    if (driver_->Encoder().SetVersion(value)) PaintSymbol();
}

void TQRCode::SetEmode(int value) {
    if (driver_->Encoder().SetEmode(value)) PaintSymbol();
}

void TQRCode::SetEclevel(int value) {
    if (driver_->Encoder().SetEclevel(value)) PaintSymbol();
}

void TQRCode::SetMasktype(int value) {
    if (driver_->Encoder().SetMasktype(value)) PaintSymbol();
}

void TQRCode::SetPxmag(int value) {
    if (driver_->SetPxmag(value)) PaintSymbol();
}

void TQRCode::SetAngle(int value) {
    if (value != 0 && value != 90 && value != 180 && value != 270) return;
    angle_ = value;
    PaintSymbol();
}

// Only a picture sized to its symbols may be a metafile, and a transparent
// picture must be a bitmap, so Match and Transparent exclude each other.
void TQRCode::SetMatch(bool value) {
    match_ = value;
    if (value) transparent_ = false;
    else symbolPicture_ = picBMP;
    PaintSymbol();
}

void TQRCode::SetTransparent(bool value) {
    transparent_ = value;
    if (value) {
        match_ = false;
        symbolPicture_ = picBMP;
    }
    PaintSymbol();
}

void TQRCode::SetSymbolPicture(TPictures value) {
    if (!match_) {
        symbolPicture_ = picBMP;
        return;
    }
    symbolPicture_ = value;
    PaintSymbol();
}

void TQRCode::SetComFont(const TFont* value) {
    if (value == nullptr || value == comFont_.get()) return;
    comFont_->Assign(*value);
    PaintSymbol();
}

void TQRCode::SetSymbolColor(TColor value) {
    symbolColor_ = value;
    PaintSymbol();
}

void TQRCode::SetBackColor(TColor value) {
    backColor_ = value;
    PaintSymbol();
}

void TQRCode::SetSymbolEnabled(bool value) {
    if (value == symbolEnabled_) return;
    symbolEnabled_ = value;
    if (value) PaintSymbol();
}

void TQRCode::SetClearOption(bool value) {
    if (value && clearOption_) return;
    clearOption_ = value;
    if (value && !symbolDisped_) ClearSymbol();
}

}  // namespace mosaiko
