#include "WindowPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
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

void PlaceOnScreen(QWidget& window, const QSize& clientSize) {
    const QMargins margins = FrameOf(window);
    // pos() is the frame's corner; the stored position is that corner too.
    const QRect wanted(window.pos(), clientSize.grownBy(margins));
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
    if (watched != &window_ || event->type() != QEvent::Show || placed_) return false;
    placed_ = true;
    PlaceOnScreen(window_, designSize_);
    firstSize_ = window_.size();
    // A window manager frames the window after it is mapped, and tells the
    // frame only then, without moving the client (late on a busy machine):
    // watch for it, and look again when it comes and a little later, while
    // the window settles. Later moves are the user's.
    connect(&settle_, &QTimer::timeout, this, &ScreenKeeper::Settle);
    settle_.start(kTickMs);
    return false;
}

void ScreenKeeper::Settle() {
    ++ticks_;
    if (framedAt_ < 0 && window_.frameGeometry() != window_.geometry()) framedAt_ = ticks_;
    const int sinceFramed = ticks_ - framedAt_;
    if (framedAt_ >= 0 && (sinceFramed == 0 || sinceFramed == 3 || sinceFramed == 10)) KeepFrameOnScreen();
    if (ticks_ * kTickMs >= kGiveUpMs || (framedAt_ >= 0 && sinceFramed >= 10)) settle_.stop();
}

// With the real frame known, the window may have room for more of its
// design size than the typical frame left it, or stand partly off screen.
void ScreenKeeper::KeepFrameOnScreen() {
    if (!window_.isVisible()) return;
    const QScreen* screen = window_.screen();
    if (!screen) return;
    const bool resized = window_.size() != firstSize_;  // by the user: keep it
    if (!resized || !screen->availableGeometry().contains(window_.frameGeometry()))
        PlaceOnScreen(window_, resized ? window_.size() : designSize_);
    firstSize_ = window_.size();
}

}  // namespace mosaiko
