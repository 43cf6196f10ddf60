// TQRCode: an image control that encodes its Code into one or more QR Code
// symbols and paints them into its own picture (a bitmap, or a recorded
// metafile). The properties and the regeneration are TQRSymbols', painting on
// the control itself as its surface (its picture and its size); the control
// adds the published events, fired with itself as Sender, and the clipboard:
// copying the picture, pasting text as Code, and the clipboard watch.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "ClipboardChain.h"
#include "Graphics.h"
#include "QRSymbols.h"

namespace mosaiko {

class TQRCode;

// Watch is true only while a change made by the clipboard watch is applied.
using TNotifyWatchEvent = std::function<void(TQRCode* sender, bool watch)>;
using TNotifyEvent = std::function<void(TQRCode* sender)>;

class TQRCode : public TImage, public TQRSymbols {
    Q_OBJECT  // so that qobject_cast and findChild tell the control from a plain TImage

public:
    explicit TQRCode(QWidget* owner = nullptr);
    ~TQRCode() override;

    // Operations.
    virtual void CopyToClipboard();
    virtual void PasteFromClipboard();

    // Clipboard watch.
    bool ClipWatch() const { return clipWatch_; }
    void SetClipWatch(bool value);
    void SetOnClipboardChange(TNotifyEvent handler);

    // Events.
    const TNotifyWatchEvent& OnChangeCode() const { return onChangeCode_; }
    void SetOnChangeCode(TNotifyWatchEvent handler) { onChangeCode_ = std::move(handler); }
    const TNotifyWatchEvent& OnPaintSymbol() const { return onPaintSymbol_; }
    void SetOnPaintSymbol(TNotifyWatchEvent handler) { onPaintSymbol_ = std::move(handler); }
    const TNotifyWatchEvent& OnPaintedSymbol() const { return onPaintedSymbol_; }
    void SetOnPaintedSymbol(TNotifyWatchEvent handler) { onPaintedSymbol_ = std::move(handler); }
    const TNotifyWatchEvent& OnChangedCode() const { return onChangedCode_; }
    void SetOnChangedCode(TNotifyWatchEvent handler) { onChangedCode_ = std::move(handler); }

protected:
    void DoChangeCode() override;
    void DoPaintSymbol() override;
    void DoPaintedSymbol() override;
    void DoChangedCode() override;
    virtual void DoClipboardChange();

    void UpdateClipboardChain();
    void ClipboardChanged(TQRCode* sender);
    // Puts the metafile as a Windows metafile picture (WMF bits and extents).
    void CopyWindowsMetafileToClipboard(const TMetafile& metafile);
    TMessageResult ClipboardWndProc(TClipboardMessage message, THandle wParam, THandle lParam);

private:
    std::unique_ptr<TClipboardWindow> MakeClipboardWindow();

    // Clipboard watch state. The hidden window exists for the control's whole life.
    std::unique_ptr<TClipboardWindow> clipboardWindow_ = MakeClipboardWindow();
    THandle nextViewer_ = 0;
    bool inChain_ = false;
    bool clipWatch_ = false;
    bool watching_ = false;  // a clipboard-driven paste is being applied
    bool skipNext_ = false;  // the notification that follows joining is ignored

    TNotifyWatchEvent onChangeCode_;
    TNotifyWatchEvent onPaintSymbol_;
    TNotifyWatchEvent onPaintedSymbol_;
    TNotifyWatchEvent onChangedCode_;
    TNotifyEvent onClipboardChange_;
};

}  // namespace mosaiko
