// Where a window stands and how large it is on the screen it opens on: at
// its design size where that fits, never larger than the screen's free
// area, and never off it, whatever position was stored.
#pragma once

#include <QMargins>
#include <QObject>
#include <QRect>
#include <QSize>
#include <QTimer>

class QWidget;

namespace mosaiko {

// The frame `frame` (window with its decorations) moved, and shrunk first
// when it is larger, so that it lies wholly inside `area`.
QRect KeepInside(QRect frame, const QRect& area);

// Sizes and moves a top-level window so that its frame lies inside the free
// area of the screen under its position (the primary screen when none is):
// the client keeps `clientSize` where that fits and shrinks where it does
// not. Until the window manager has framed the window, a typical frame is
// assumed.
void PlaceOnScreen(QWidget& window, const QSize& clientSize);

// Places the window when it is first shown (at `designSize`), and again
// while it settles, once the window manager has told its real frame.
class ScreenKeeper : public QObject {
public:
    ScreenKeeper(QWidget& window, const QSize& designSize);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static constexpr int kTickMs = 100;
    static constexpr int kGiveUpMs = 10000;  // no frame by then: there is none

    void Settle();
    void KeepFrameOnScreen();

    QWidget& window_;
    QSize designSize_;
    QSize firstSize_;  // as the last placement left it
    bool placed_ = false;
    QTimer settle_;
    int ticks_ = 0;
    int framedAt_ = -1;  // the tick that found the real frame
};

}  // namespace mosaiko
