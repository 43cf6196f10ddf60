// The window at a desk: files dropped on it, and an import, a check and a
// preview done with the keyboard alone.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>
#include <QUrl>

#include "MemoView.h"
#include "PrintActions.h"
#include "RadioGroup.h"
#include "ReportPreview.h"
#include "WindowTestSupport.h"

namespace mosaiko::test {
namespace {

using DeskTest = WindowTest;

// Drags `data` onto `target` and lets it go there, as a drop arrives.
void DropOn(QWidget& target, QMimeData& data) {
    const QPointF at = QRectF(target.rect()).center();
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &enter);
    QDragMoveEvent move(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &move);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &drop);
    QApplication::processEvents();
}

TEST_F(DeskTest, DroppedFilesAreImportedWhereverTheyLand) {
    const QString a = WriteFile(QStringLiteral("a.csv"), "1,A\r\n2,B\r\n");
    const QString b = WriteFile(QStringLiteral("b.csv"), "1,X\r\n");
    const QString folder = QFileInfo(a).absolutePath();
    struct Case {
        const char* name;
        bool onTitle;       // dropped on the title field, else on the window
        QStringList files;  // empty: plain text
        QString imported;   // the path imported, empty for none
        const char* note;   // in the status bar
    } cases[] = {
        {"one file", false, {a}, a, ""},
        {"one file on the title", true, {a}, a, ""},
        {"two files", false, {b, a}, b, "2 個のうち最初のファイル b.csv"},
        {"a folder", false, {folder}, "", "フォルダーは取り込めません"},
        {"text", false, {}, "", "ファイル以外は取り込めません"},
    };
    for (const Case& c : cases) {
        auto window = MakeWindow();
        window->show();
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& file : c.files) urls << QUrl::fromLocalFile(file);
        if (urls.isEmpty()) data.setText(QStringLiteral("1,text"));
        else data.setUrls(urls);
        DropOn(c.onTitle ? static_cast<QWidget&>(*window->Edit5) : static_cast<QWidget&>(*window), data);
        EXPECT_EQ(window->FilePath->text(), c.imported) << c.name;
        EXPECT_EQ(window->LineCount, c.imported.isEmpty() ? 0 : c.imported == a ? 2 : 1) << c.name;
        EXPECT_TRUE(window->StatusBar1->currentMessage().contains(QString::fromUtf8(c.note)))
            << c.name << ": " << window->StatusBar1->currentMessage().toStdString();
        EXPECT_EQ(window->Edit5->text(), QStringLiteral("ＱＲコードリスト")) << c.name;
        EXPECT_TRUE(errors.isEmpty()) << c.name;
    }
}

// Runs `act` on the first modal window of type W that comes up; after ten
// seconds without one, closes every window so that no test hangs.
template <class W>
void WhenModal(std::function<void(W&)> act) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act, ticks = 0]() mutable {
        if (++ticks > 1000) {
            timer->stop();
            timer->deleteLater();
            QApplication::closeAllWindows();
            return;
        }
        if (auto* w = qobject_cast<W*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            // The offscreen platform does not activate a new window by itself.
            QApplication::setActiveWindow(w);
            if (QTest::qWaitForWindowActive(w)) act(*w);
        }
    });
    timer->start(10);
}

void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
}

// Ctrl+O with a path typed into the file dialog, Tab to the symbol sizes,
// the arrow keys, Enter on "生成チェック" and on "帳票印刷", Escape out of
// the preview.
TEST_F(DeskTest, ImportCheckAndPreviewWithTheKeyboardAlone) {
    MainWindowSeams seams = Seams();
    seams.chooseFile = DefaultSeams().chooseFile;  // the real dialog
    TQRTest_main window(seams);
    const auto printing = AttachPrintActions(window);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ASSERT_EQ(QApplication::focusWidget(), window.Memo1);

    QString startedIn;
    QStringList filters;
    WhenModal<QFileDialog>([&](QFileDialog& dialog) {
        startedIn = dialog.directory().absolutePath();
        filters = dialog.nameFilters();
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral(MOSAIKO_SAMPLE_CSV));
        Key(Qt::Key_Return);
    });
    Key(Qt::Key_O, Qt::ControlModifier);
    QApplication::setActiveWindow(&window);  // back from the dialog
    EXPECT_EQ(startedIn, QDir::homePath());  // first use: no path stored
    EXPECT_TRUE(filters.contains(QStringLiteral("すべてのファイル (*)"))) << filters.join(' ').toStdString();
    EXPECT_EQ(window.FilePath->text(), QStringLiteral(MOSAIKO_SAMPLE_CSV));
    ASSERT_GT(window.LineCount, 0);

    Key(Qt::Key_Tab);  // the version
    Key(Qt::Key_Tab);  // the symbol sizes
    for (const auto& [key, item] : {std::pair{Qt::Key_Right, 1}, {Qt::Key_Right, 2}, {Qt::Key_Left, 1},
                                    {Qt::Key_Up, 0}, {Qt::Key_Up, 0}, {Qt::Key_Down, 1}}) {
        Key(key);
        EXPECT_EQ(window.RadioGroup1->ItemIndex(), item);
        EXPECT_EQ(QApplication::focusWidget(), window.RadioGroup1->Button(item));
    }
    Key(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), window.Button1);
    Key(Qt::Key_Return);
    EXPECT_EQ(window.Panel4->text(), QStringLiteral("正常"));

    int pages = 0;
    WhenModal<ReportPreview>([&](ReportPreview& preview) {
        pages = preview.PageCount();
        Key(Qt::Key_Escape);
    });
    Key(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), window.Button3);
    Key(Qt::Key_Enter);
    EXPECT_GT(pages, 0);
    EXPECT_TRUE(errors.isEmpty());
}

}  // namespace
}  // namespace mosaiko::test
