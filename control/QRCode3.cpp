// The control's own part: construction with itself as the painting surface,
// and the event dispatchers.
#include "QRCode3.h"

namespace mosaiko {

TQRCode::TQRCode(QWidget* owner) : TImage(owner), TQRSymbols(static_cast<TPictureSurface&>(*this)) {
    onClipboardChange_ = [this](TQRCode* sender) { ClipboardChanged(sender); };
    UpdateClipboardChain();
    skipNext_ = false;
}

TQRCode::~TQRCode() { SetClipWatch(false); }

// The code events stay silent while regeneration is switched off, so a host
// that loads several properties hears only the final change.
void TQRCode::DoChangeCode() {
    if (onChangeCode_ && SymbolEnabled()) onChangeCode_(this, watching_);
}

void TQRCode::DoChangedCode() {
    if (onChangedCode_ && SymbolEnabled()) onChangedCode_(this, watching_);
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
