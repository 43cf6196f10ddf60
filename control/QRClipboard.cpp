// The clipboard side of the control: copying the picture, pasting text as
// Code, and the state of the clipboard watch.
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "QRCode3.h"

namespace mosaiko {

// Puts the picture as an image; the metafile formats of picEMF and picWMF
// come with the clipboard watch work.
void TQRCode::CopyToClipboard() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (const TBitmap* bitmap = Picture().AsBitmap()) clipboard->setImage(bitmap->ToQImage());
    else if (const TMetafile* metafile = Picture().AsMetafile()) clipboard->setImage(metafile->ToQImage());
}

// Clipboard text becomes Code as Shift-JIS bytes; anything else is ignored.
void TQRCode::PasteFromClipboard() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasText()) return;
    SetCode(EncodeShiftJis(data->text()));
}

void TQRCode::SetClipWatch(bool value) {
    skipNext_ = !clipWatch_ && value;
    clipWatch_ = value;
    UpdateClipboardChain();
}

void TQRCode::SetOnClipboardChange(TNotifyEvent handler) {
    onClipboardChange_ = std::move(handler);
    UpdateClipboardChain();
}

// Joins or leaves the watch as ClipWatch and the handler ask.
void TQRCode::UpdateClipboardChain() {
    const bool wanted = clipWatch_ && onClipboardChange_;
    if (wanted == inChain_) return;
    inChain_ = wanted;
}

void TQRCode::ClipboardChanged(TQRCode* /*sender*/) {
    if (skipNext_) {
        skipNext_ = false;
        return;
    }
    watching_ = true;
    try {
        PasteFromClipboard();
    } catch (...) {
        watching_ = false;
        throw;
    }
    watching_ = false;
}

}  // namespace mosaiko
