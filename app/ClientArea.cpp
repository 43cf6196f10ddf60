#include "ClientArea.h"

#include <QApplication>
#include <QFrame>
#include <QResizeEvent>
#include <QScrollArea>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>

#include "MainControls.h"
#include "MemoView.h"
#include "WindowPlacement.h"

namespace mosaiko {
namespace {

constexpr int kStatusBarHeight = 21;
// Design geometry of the content (the window without its status bar): the
// memo ends this far above the bottom, the settings panel starts that far.
constexpr int kMemoBottomGap = 672 - 535 - 30;
constexpr int kPanelFromBottom = 672 - 568;
constexpr int kMemoTop = 30;
constexpr int kMinMemoHeight = 64;  // a few lines stay in view
// Smallest window: well below any screen's free area at 150 % scaling.
constexpr QSize kMinWindowSize{480, 320};

// The content widget: top row fixed, memo stretching, settings panel fixed
// to the bottom edge, all at their design left edges.
class TContent : public QWidget {
public:
    explicit TContent(MainControls& controls) : controls_(controls) {
        setMinimumSize(kDesignClientSize.width(), kMemoTop + kMinMemoHeight + kMemoBottomGap);
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        const QSize size = event->size();
        const int memoWidth = size.width() - (kDesignClientSize.width() - 1005);
        controls_.Memo1->setGeometry(4, kMemoTop, memoWidth, size.height() - kMemoTop - kMemoBottomGap);
        controls_.Panel2->move(4, size.height() - kPanelFromBottom);
    }

private:
    MainControls& controls_;
};

// The scrolling client area. It brings the whole of a control that takes the
// focus into view, where Qt would show only a line edit's text cursor. The
// connection ends with this class's destructor: closing the window moves the
// focus while the base classes are still being torn down.
class TClientArea : public QScrollArea {
public:
    explicit TClientArea(QWidget* parent) : QScrollArea(parent) {
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { FollowFocus(now); });
    }
    ~TClientArea() override { disconnect(qApp, nullptr, this, nullptr); }

private:
    void FollowFocus(QWidget* now) {
        QWidget* content = widget();
        if (!now || !content || !content->isAncestorOf(now)) return;
        // Of a control larger than the view, its top left part.
        const QSize view = viewport()->size() - QSize(8, 8);
        const QRect r(now->mapTo(content, QPoint(0, 0)), now->size().boundedTo(view));
        ensureVisible(r.center().x(), r.center().y(), r.width() / 2 + 4, r.height() / 2 + 4);
    }
};

}  // namespace

void ArrangeMainWindow(QWidget& window, MainControls& c) {
    auto* scroll = new TClientArea(&window);
    scroll->setObjectName(QStringLiteral("ClientArea"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setFocusPolicy(Qt::NoFocus);  // the tab chain runs through the controls only
    auto* content = new TContent(c);
    content->setObjectName(QStringLiteral("Client"));
    BuildMainControls(content, c);
    scroll->setWidget(content);
    c.StatusBar1->setParent(&window);
    c.StatusBar1->setFixedHeight(kStatusBarHeight);
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(scroll, 1);
    layout->addWidget(c.StatusBar1);
    window.setMinimumSize(kMinWindowSize);
    window.resize(kDesignClientSize);
    new ScreenKeeper(window, kDesignClientSize);
}

}  // namespace mosaiko
