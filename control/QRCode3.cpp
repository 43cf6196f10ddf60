// Sizes, the consistency check, clearing and the event dispatchers.
#include "QRCode3.h"

#include <algorithm>

namespace mosaiko {

int TQRCode::QuietZone() const { return kQuietModules * Pxmag(); }

int TQRCode::SymbolWidth() const { return (driver_->Encoder().ModulesPerSide() + 2 * kQuietModules) * Pxmag(); }

int TQRCode::SymbolHeight() const { return SymbolWidth(); }

int TQRCode::SymbolWidthS() const { return SymbolWidth() + spaceLeft_ + spaceRight_; }

int TQRCode::SymbolHeightS() const { return SymbolHeight() + spaceUp_ + spaceDown_; }

int TQRCode::SymbolWidthA() const { return std::min(column_, Count()) * SymbolWidthS(); }

int TQRCode::SymbolHeightA() const {
    const int rows = (Count() + column_ - 1) / column_;
    return rows * SymbolHeightS();
}

// Column is the control's own setting; it is checked between the driver's
// count and piece checks, in the order the messages have always come.
void TQRCode::CheckSettings() {
    SettingsError error;
    if (!driver_->CheckCounts(error) || !CheckColumn(column_, error) || !driver_->CheckPieces(error))
        throw Exception(error.Message());
}

bool TQRCode::CheckColumn(int column, SettingsError& error) {
    return ColumnInRange(column) || error.Fail("Column", column);
}

void TQRCode::ClearSymbol() {
    symbolDisped_ = false;
    Picture().Clear();
}

void TQRCode::Redraw() { PaintSymbol(); }

// The code events stay silent while regeneration is switched off, so a host
// that loads several properties hears only the final change.
void TQRCode::DoChangeCode() {
    if (onChangeCode_ && symbolEnabled_) onChangeCode_(this, watching_);
}

void TQRCode::DoChangedCode() {
    if (onChangedCode_ && symbolEnabled_) onChangedCode_(this, watching_);
}

void TQRCode::DoPaintSymbol() {
    if (onPaintSymbol_) onPaintSymbol_(this, watching_);
}

void TQRCode::DoPaintedSymbol() {
    if (onPaintedSymbol_) onPaintedSymbol_(this, watching_);
}

void TQRCode::DoClipboardChange() {
    if (onClipboardChange_) onClipboardChange_(this);
}

}  // namespace mosaiko
