#include "WindowPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace mosaiko {
namespace {

// The decoration a window manager typically adds (title bar and borders),
// assumed until the real one is known.
constexpr QMargins kTypicalFrame(4, 30, 4, 4);

QMargins FrameOf(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    if (!window.isVisible() || frame == client) return kTypicalFrame;
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

QScreen* ScreenAt(const QPoint& point) {
    if (QScreen* screen = QGuiApplication::screenAt(point)) return screen;
    return QGuiApplication::primaryScreen();
}

}  // namespace

QRect KeepInside(QRect frame, const QRect& area) {
    frame.setSize(frame.size().boundedTo(area.size()));
    const int left = std::clamp(frame.left(), area.left(), area.right() - frame.width() + 1);
    const int top = std::clamp(frame.top(), area.top(), area.bottom() - frame.height() + 1);
    frame.moveTopLeft({left, top});
    return frame;
}

void PlaceOnScreen(QWidget& window, const QSize& designSize) {
    const QMargins margins = FrameOf(window);
    // pos() is the frame's corner; the stored position is that corner too.
    const QRect wanted(window.pos(), designSize.grownBy(margins));
    const QScreen* screen = ScreenAt(wanted.topLeft() + QPoint(margins.left(), margins.top()));
    if (!screen) return;
    const QRect frame = KeepInside(wanted, screen->availableGeometry());
    window.resize(frame.size().shrunkBy(margins).expandedTo(window.minimumSize()));
    window.move(frame.topLeft());
}

ScreenKeeper::ScreenKeeper(QWidget& window, const QSize& designSize)
    : QObject(&window), window_(window), designSize_(designSize) {
    window.installEventFilter(this);
}

bool ScreenKeeper::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &window_ || placing_) return false;
    // How long after the first show the window manager may still frame and
    // move the window; later moves are the user's.
    constexpr qint64 kSettleMs = 3000;
    const QEvent::Type type = event->type();
    const bool first = type == QEvent::Show && !shown_.isValid();
    const bool settling = (type == QEvent::Move || type == QEvent::Resize) && shown_.isValid() &&
                          shown_.elapsed() < kSettleMs;
    if (!first && !settling) return false;
    if (first) shown_.start();
    placing_ = true;
    PlaceOnScreen(window_, first ? designSize_ : window_.size());
    placing_ = false;
    return false;
}

}  // namespace mosaiko
