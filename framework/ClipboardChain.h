// A clipboard viewer chain after the Windows model, over QClipboard.
//
// Qt reports clipboard changes (QClipboard::dataChanged) but has no viewer
// chain; this layer gives the control the chain's protocol:
//   - a hidden clipboard window (TClipboardWindow) with a window procedure and
//     a handle; messages go to it only through its handle, so a message to a
//     window that no longer exists goes nowhere;
//   - SetClipboardViewer(window) puts the window at the head of the chain and
//     returns the previous head, the window's next viewer. Joining posts one
//     DrawClipboard to the window at once (queued, delivered by the event loop);
//   - every change of the clipboard (QClipboard::Clipboard mode) sends
//     DrawClipboard to the head; each viewer passes it on to its next viewer;
//   - ChangeClipboardChain(window, next) takes the window out: when it is the
//     head, next becomes the head; otherwise ChangeCbChain(window, next) is sent
//     to the head and passed on until the window's predecessor takes next as its
//     own next viewer;
//   - SendMessage(handle, ...) calls that window's procedure (other in-process
//     viewers; no viewers outside the program take part).
// Everything runs on the GUI thread.
#pragma once

#include <cstdint>
#include <functional>

namespace mosaiko {

using THandle = std::uintptr_t;  // 0 is no window
using TMessageResult = std::intptr_t;

// The two messages of the chain; no other message reaches a clipboard window.
enum class TClipboardMessage {
    DrawClipboard,  // the clipboard contents changed (WM_DRAWCLIPBOARD)
    ChangeCbChain,  // wParam leaves the chain, lParam is its successor (WM_CHANGECBCHAIN)
};

class TClipboardWindow {
public:
    using TWndProc = std::function<TMessageResult(TClipboardMessage message, THandle wParam, THandle lParam)>;

    explicit TClipboardWindow(TWndProc wndProc);
    // A window still at the head of the chain takes the chain's head with it.
    ~TClipboardWindow();
    TClipboardWindow(const TClipboardWindow&) = delete;
    TClipboardWindow& operator=(const TClipboardWindow&) = delete;

    THandle Handle() const { return handle_; }

private:
    friend TMessageResult SendMessage(THandle, TClipboardMessage, THandle, THandle);
    THandle handle_;
    TWndProc wndProc_;
};

// Returns the previous head of the chain (0 when the chain was empty).
THandle SetClipboardViewer(THandle window);
void ChangeClipboardChain(THandle window, THandle next);
// Calls the window procedure of the window; 0 when there is no such window.
TMessageResult SendMessage(THandle window, TClipboardMessage message, THandle wParam, THandle lParam);
// The head of the chain; 0 when nobody watches.
THandle ClipboardViewer();

}  // namespace mosaiko
