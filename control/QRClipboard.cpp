// The clipboard side of the control: copying the picture by its kind, pasting
// text as Code, and the clipboard watch, a viewer in the clipboard chain that
// pastes every text put on the clipboard.
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "ClipboardFormats.h"
#include "ExceptionHandler.h"
#include "QRCode3.h"

namespace mosaiko {

std::unique_ptr<TClipboardWindow> TQRCode::MakeClipboardWindow() {
    return std::make_unique<TClipboardWindow>(
        [this](TClipboardMessage message, THandle wParam, THandle lParam) {
            return ClipboardWndProc(message, wParam, lParam);
        });
}

// After a failed run the picture goes as whatever it holds. A picture whose
// graphic is not of the kind SymbolPicture names (SymbolDebug leaves the
// prepared bitmap in a metafile run; SymbolPicture changed while SymbolEnabled
// was off) also goes as it is, rather than as an empty graphic of that kind.
void TQRCode::CopyToClipboard() {
    const TBitmap* bitmap = Picture().AsBitmap();
    const TMetafile* metafile = Picture().AsMetafile();
    if (!SymbolDisped() || (SymbolPicture() == picBMP ? bitmap == nullptr : metafile == nullptr)) {
        SetClipboardData(PictureMimeData(Picture()));
        return;
    }
    switch (SymbolPicture()) {
    case picBMP:
        SetClipboardData(BitmapMimeData(*bitmap));
        break;
    case picEMF:
        SetClipboardData(EnhancedMetafileMimeData(*metafile));
        break;
    case picWMF:
        CopyWindowsMetafileToClipboard(*metafile);
        break;
    }
}

// Our own conversion stands in for GDI's enhanced-to-Windows conversion; bits
// that do not read back as a Windows metafile are not put on the clipboard.
void TQRCode::CopyWindowsMetafileToClipboard(const TMetafile& metafile) {
    const std::string bits = WriteWmf(metafile, TWmfForm::Clipboard);
    if (bits.empty() || !ReadWmfHeader(bits)) return;
    SetClipboardData(WindowsMetafileMimeData(bits, MetafilePictExtents(metafile), metafile));
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

// Joins or leaves the viewer chain as ClipWatch and the handler ask.
void TQRCode::UpdateClipboardChain() {
    const bool wanted = clipWatch_ && onClipboardChange_;
    if (wanted == inChain_) return;
    inChain_ = !inChain_;
    if (inChain_) nextViewer_ = SetClipboardViewer(clipboardWindow_->Handle());
    else ChangeClipboardChain(clipboardWindow_->Handle(), nextViewer_);
}

namespace {
// Exceptions of a clipboard message end in the application's standard handler.
template <typename Work>
void Guarded(Work work) {
    try {
        work();
    } catch (...) {
        HandleCurrentException();
    }
}
}  // namespace

// A failing handler must not break the chain for the viewers after us, so the
// notification is passed on whether or not the handling raised.
TMessageResult TQRCode::ClipboardWndProc(TClipboardMessage message, THandle wParam, THandle lParam) {
    if (message == TClipboardMessage::DrawClipboard) {
        Guarded([&] { DoClipboardChange(); });
        Guarded([&] { SendMessage(nextViewer_, message, wParam, lParam); });
        return 0;
    }
    // ChangeCbChain: a viewer leaves; the link to it is mended or passed on.
    Guarded([&] {
        if (wParam == nextViewer_) nextViewer_ = lParam;
        else if (nextViewer_ != 0) SendMessage(nextViewer_, message, wParam, lParam);
    });
    return 0;
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
