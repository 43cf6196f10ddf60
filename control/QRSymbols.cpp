// Sizes, the consistency check and clearing.
#include "QRSymbols.h"

#include <algorithm>

namespace mosaiko {

int TQRSymbols::QuietZone() const { return kQuietModules * Pxmag(); }

int TQRSymbols::SymbolWidth() const { return (driver_->Encoder().ModulesPerSide() + 2 * kQuietModules) * Pxmag(); }

int TQRSymbols::SymbolHeight() const { return SymbolWidth(); }

int TQRSymbols::SymbolWidthS() const { return SymbolWidth() + spaceLeft_ + spaceRight_; }

int TQRSymbols::SymbolHeightS() const { return SymbolHeight() + spaceUp_ + spaceDown_; }

int TQRSymbols::SymbolWidthA() const { return std::min(column_, Count()) * SymbolWidthS(); }

int TQRSymbols::SymbolHeightA() const {
    const int rows = (Count() + column_ - 1) / column_;
    return rows * SymbolHeightS();
}

// Column is the control's own setting; it is checked between the driver's
// count and piece checks, in the order the messages have always come.
void TQRSymbols::CheckSettings() {
    SettingsError error;
    if (!driver_->CheckCounts(error) || !CheckColumn(column_, error) || !driver_->CheckPieces(error))
        throw Exception(error.Message());
}

bool TQRSymbols::CheckColumn(int column, SettingsError& error) {
    return ColumnInRange(column) || error.Fail("Column", column);
}

void TQRSymbols::ClearSymbol() {
    symbolDisped_ = false;
    surface_.Picture().Clear();
}

void TQRSymbols::Redraw() { PaintSymbol(); }

}  // namespace mosaiko
