// Another X client that drags files: a small window that starts a drag of
// the files named on its command line when the mouse is pressed on it.
// Prints "ready X Y", a point inside it, once it is on screen.
#include <QApplication>
#include <QDrag>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>
#include <QUrl>
#include <cstdio>

namespace {

class Source : public QLabel {
public:
    explicit Source(QList<QUrl> urls) : QLabel(QStringLiteral("drag me")), urls_(std::move(urls)) {}

protected:
    void mousePressEvent(QMouseEvent*) override {
        auto* drag = new QDrag(this);
        auto* data = new QMimeData;
        data->setUrls(urls_);
        drag->setMimeData(data);
        const Qt::DropAction done = drag->exec(Qt::CopyAction);
        std::printf("drag ended: %d\n", static_cast<int>(done));
        std::fflush(stdout);
        QApplication::quit();
    }

private:
    QList<QUrl> urls_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QList<QUrl> urls;
    for (const QString& path : QApplication::arguments().mid(1)) urls << QUrl::fromLocalFile(path);
    Source source(urls);
    source.setWindowFlag(Qt::FramelessWindowHint);
    // Bottom right, clear of the window it drags to.
    const QRect screen = source.screen()->availableGeometry();
    source.setGeometry(screen.right() - 200, screen.bottom() - 120, 160, 80);
    source.show();
    if (!QTest::qWaitForWindowExposed(&source)) return 1;
    QTest::qWait(300);
    const QPoint center = source.mapToGlobal(source.rect().center());
    std::printf("ready %d %d\n", center.x(), center.y());
    std::fflush(stdout);
    return app.exec();
}
