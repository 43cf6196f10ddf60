#include "ClipboardChain.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QObject>
#include <QPointer>
#include <memory>
#include <unordered_map>

namespace mosaiko {
namespace {

// What the system keeps of the chain: the windows by handle and the head.
// The links between viewers are kept by the viewers themselves.
struct Chain {
    std::unordered_map<THandle, TClipboardWindow*> windows;
    THandle head = 0;
    THandle lastHandle = 0;
    std::unique_ptr<QObject> context;  // receiver of the clipboard signal and of posted messages
    QPointer<QClipboard> watched;

    // Context on the GUI thread, and the clipboard's change signal connected
    // (again, when the application and its clipboard were made anew).
    QObject* Context() {
        if (!context) context = std::make_unique<QObject>();
        QClipboard* clipboard = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                    ? QGuiApplication::clipboard()
                                    : nullptr;
        if (clipboard != nullptr && watched != clipboard) {
            watched = clipboard;
            QObject::connect(clipboard, &QClipboard::dataChanged, context.get(),
                             [this] { SendMessage(head, TClipboardMessage::DrawClipboard, 0, 0); });
        }
        return context.get();
    }
};

Chain& TheChain() {
    static Chain chain;
    return chain;
}

}  // namespace

TClipboardWindow::TClipboardWindow(TWndProc wndProc) : handle_(++TheChain().lastHandle), wndProc_(std::move(wndProc)) {
    TheChain().windows[handle_] = this;
}

TClipboardWindow::~TClipboardWindow() {
    Chain& chain = TheChain();
    chain.windows.erase(handle_);
    if (chain.head == handle_) chain.head = 0;
}

THandle SetClipboardViewer(THandle window) {
    Chain& chain = TheChain();
    const THandle previous = chain.head;
    chain.head = window;
    QMetaObject::invokeMethod(
        chain.Context(), [window] { SendMessage(window, TClipboardMessage::DrawClipboard, 0, 0); },
        Qt::QueuedConnection);
    return previous;
}

void ChangeClipboardChain(THandle window, THandle next) {
    Chain& chain = TheChain();
    if (chain.head == window) {
        chain.head = next;
        return;
    }
    SendMessage(chain.head, TClipboardMessage::ChangeCbChain, window, next);
}

TMessageResult SendMessage(THandle window, TClipboardMessage message, THandle wParam, THandle lParam) {
    const auto& windows = TheChain().windows;
    const auto it = windows.find(window);
    if (it == windows.end() || !it->second->wndProc_) return 0;
    // A copy: the procedure may destroy its own window.
    const TClipboardWindow::TWndProc proc = it->second->wndProc_;
    return proc(message, wParam, lParam);
}

THandle ClipboardViewer() { return TheChain().head; }

}  // namespace mosaiko
