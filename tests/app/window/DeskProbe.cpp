// Opens the main window as a user's desk would and reports on it, for the
// screen tests of desk-screens.sh (offscreen and on an X server):
//   desk_probe place [X Y]   stored position X, Y (none: no settings stored);
//                            fails unless the frame lies inside the screen's
//                            free area, the design size is kept where it
//                            fits, and Tab brings every control into view
//   desk_probe drop FILE     prints "ready X Y" (a point on the window) and
//                            waits for FILE to be imported by a drop
//   desk_probe shot PNG [PREVIEW.PNG [CSV]]  the window with the sample (or
//                            CSV) imported and checked, and its preview
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>

#include "ClientArea.h"
#include "MainWindow.h"
#include "MemoView.h"
#include "PrintActions.h"
#include "ReportPreview.h"

namespace {

using mosaiko::TQRTest_main;

int failures = 0;

void Check(bool ok, const QString& what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", qPrintable(what));
    failures += ok ? 0 : 1;
}

QString Text(const QRect& r) { return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()); }

// Lets the window manager frame, place and answer.
void Settle(QWidget& window) {
    if (!QTest::qWaitForWindowExposed(&window)) std::printf("window not exposed\n");
    // The window looks again once its frame is known, and 1 s later.
    if (!QTest::qWaitFor([&] { return window.frameGeometry() != window.geometry(); }, 10000))
        std::printf("no frame\n");
    QTest::qWait(QGuiApplication::platformName() == QStringLiteral("xcb") ? 1500 : 300);
}

std::unique_ptr<TQRTest_main> OpenWindow(const QString& settings) {
    mosaiko::MainWindowSeams seams = mosaiko::DefaultSeams();
    seams.openSettings = [settings] { return mosaiko::SettingsStore::OpenFile(settings); };
    auto window = std::make_unique<TQRTest_main>(seams);
    window->show();
    Settle(*window);
    return window;
}

// Every control of the tab chain, reached by Tab, lies in the visible part
// of the client area.
void CheckTabReachesEveryControl(TQRTest_main& window) {
    auto* scroll = window.findChild<QScrollArea*>(QStringLiteral("ClientArea"));
    QApplication::setActiveWindow(&window);
    window.Memo1->setFocus();
    QStringList hidden;
    for (int i = 0; i < 16; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focused = QApplication::focusWidget();
        if (!focused) continue;
        const QRect seen(focused->mapTo(scroll->viewport(), QPoint(0, 0)), focused->size());
        const QRect view = scroll->viewport()->rect();
        // A control wider than the view shows what fits of it.
        const bool inView = seen.width() > view.width() ? view.intersects(seen) : view.contains(seen);
        if (!inView) hidden << focused->objectName() + QLatin1Char(' ') + Text(seen);
    }
    Check(hidden.isEmpty(), QStringLiteral("Tab shows every control %1").arg(hidden.join(QStringLiteral(", "))));
}

int Place(const QStringList& args, const QString& settings) {
    if (args.size() >= 4) {
        QFile file(settings);
        file.open(QIODevice::WriteOnly);
        file.write(QStringLiteral("[General]\nx_pos=%1\ny_pos=%2\n").arg(args[2], args[3]).toUtf8());
    }
    auto window = OpenWindow(settings);
    const QRect area = window->screen()->availableGeometry();
    const QRect frame = window->frameGeometry();
    std::printf("screen %s, frame %s, client %dx%d\n", qPrintable(Text(area)), qPrintable(Text(frame)),
                window->width(), window->height());
    Check(area.contains(frame), QStringLiteral("frame inside the free screen area"));
    const QSize framed = mosaiko::kDesignClientSize + (frame.size() - window->size());
    // Unframed (a window manager that never answered) the window keeps the
    // size it took for a typical frame.
    const bool framedKnown = frame != window->geometry();
    if (framedKnown && area.width() >= framed.width() && area.height() >= framed.height())
        Check(window->size() == mosaiko::kDesignClientSize, QStringLiteral("design size where it fits"));
    const QWidget* viewport = window->findChild<QScrollArea*>(QStringLiteral("ClientArea"))->viewport();
    Check(window->Panel2->mapTo(viewport, QPoint(0, window->Panel2->height())).y() <= viewport->height(),
          QStringLiteral("settings panel below the memo in view"));
    Check(window->StatusBar1->isVisible() && window->rect().contains(window->StatusBar1->geometry()),
          QStringLiteral("status bar in the window"));
    CheckTabReachesEveryControl(*window);
    return failures == 0 ? 0 : 1;
}

int Drop(const QString& file, const QString& settings) {
    auto window = OpenWindow(settings);
    const QPoint target = window->Edit5->mapToGlobal(window->Edit5->rect().center());
    std::printf("ready %d %d\n", target.x(), target.y());
    std::fflush(stdout);
    const bool imported = QTest::qWaitFor([&] { return window->FilePath->text() == file; }, 20000);
    Check(imported && window->LineCount > 0,
          QStringLiteral("dropped file imported: %1 lines from %2 (status bar: %3)")
              .arg(window->LineCount)
              .arg(window->FilePath->text(), window->StatusBar1->currentMessage()));
    Check(window->Edit5->text() == QStringLiteral("ＱＲコードリスト"), QStringLiteral("title unchanged: ") + window->Edit5->text());
    return failures == 0 ? 0 : 1;
}

void Grab(QWidget& widget, const QString& png) {
    const QRect frame = widget.frameGeometry();
    // A palette image, as small as the few colours of a window allow.
    widget.screen()
        ->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
        .toImage()
        .convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither)
        .save(png);
}

int Shot(const QStringList& args, const QString& settings) {
    auto window = OpenWindow(settings);
    const auto printing = mosaiko::AttachPrintActions(*window);
    window->ImportPath(args.value(4, QStringLiteral(MOSAIKO_SAMPLE_CSV)));
    window->Button1->click();
    QTest::qWait(300);
    Grab(*window, args[2]);
    if (args.size() > 3) {
        QTimer::singleShot(300, [&] {
            QWidget* preview = QApplication::activeModalWidget();
            if (!preview) return;
            QTest::qWait(1500);
            Grab(*preview, args[3]);
            preview->close();
        });
        window->Button3->click();
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    QTemporaryDir dir;
    const QString settings = dir.filePath(QStringLiteral("Mosaiko.ini"));
    const QString mode = args.value(1);
    if (mode == QStringLiteral("place")) return Place(args, settings);
    if (mode == QStringLiteral("drop") && args.size() > 2) return Drop(args[2], settings);
    if (mode == QStringLiteral("shot") && args.size() > 2) return Shot(args, settings);
    std::fprintf(stderr, "usage: desk_probe place [X Y] | drop FILE | shot PNG [PREVIEW.PNG [CSV]]\n");
    return 2;
}
