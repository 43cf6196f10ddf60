// The window for a Japanese user: Qt's own dialogs in Japanese, the focus
// across long loops, the status-bar notices and the detail of import errors.
#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>
#include <QTranslator>

#include "QtTranslations.h"
#include "WindowTestSupport.h"

namespace mosaiko::test {
namespace {

using JapaneseDesktopTest = WindowTest;

TEST_F(JapaneseDesktopTest, QtDialogsSpeakJapaneseUnderAJapaneseLocale) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    const int installed = qApp->findChildren<QTranslator*>().size();
    ASSERT_TRUE(InstallQtTranslations(*qApp));
    QMessageBox box(QMessageBox::Question, QStringLiteral("Mosaiko"), QStringLiteral("?"),
                    QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));
    for (QTranslator* t : qApp->findChildren<QTranslator*>().mid(installed)) delete t;
    QLocale::setDefault(before);
    QMessageBox english(QMessageBox::Question, QString(), QString(), QMessageBox::Cancel);
    EXPECT_NE(english.button(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));
}

TEST_F(JapaneseDesktopTest, FocusReturnsAfterALoopAndNoFieldGetsSelected) {
    auto window = MakeWindow();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->SetButton1Handler([&] {
        BusyGuard guard(window->Busy());
        for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
    });
    window->Button1->setFocus(Qt::TabFocusReason);
    window->Button1->click();
    EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(window->Button1));
    EXPECT_TRUE(window->Edit5->selectedText().isEmpty());

    window->SpeedButton1->setFocus(Qt::TabFocusReason);
    ImportBytes(*window, Numbered(50));
    EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(window->SpeedButton1));
    EXPECT_TRUE(window->Edit5->selectedText().isEmpty());
}

TEST_F(JapaneseDesktopTest, StatusBarSaysUtf8AndCancel) {
    auto window = MakeWindow();
    ImportBytes(*window, "\xEF\xBB\xBF" "1,\xE6\xBC\xA2\r\n");
    EXPECT_EQ(window->StatusBar1->currentMessage(), QStringLiteral("UTF-8 として読み込みました"));
    EXPECT_EQ(MemoContents(*window), (Lines{"1,\x8A\xBF"}));
    ImportBytes(*window, "1,A\r\n");
    EXPECT_EQ(window->StatusBar1->currentMessage(), QString());

    AtLine stop(*window, 3, [&] { window->SpeedButton2->click(); });
    ImportBytes(*window, Numbered(300));
    const QString expected = QStringLiteral("読み込みを中止しました（%1 行を残しました）").arg(window->LineCount);
    EXPECT_EQ(window->StatusBar1->currentMessage(), expected);
    EXPECT_LT(window->LineCount, 300);
}

TEST_F(JapaneseDesktopTest, StatusBarSaysUtf16NoDataLinesAndCutLines) {
    // 1,漢 as Excel's Unicode text export writes it, and in big-endian order;
    // a line longer than what is kept.
    const std::string longLine = "1," + std::string(70000, 'a');
    const struct {
        std::string bytes;
        QString status;
        Lines memo;
    } cases[] = {
        {std::string("\xFF\xFE" "1\0\t\0\x22\x6F\r\0\n\0", 12), QStringLiteral("UTF-16 として読み込みました"), {"1\t\x8A\xBF"}},
        {std::string("\xFE\xFF" "\0" "1\0\t\x6F\x22\0\n", 10), QStringLiteral("UTF-16 として読み込みました"), {"1\t\x8A\xBF"}},
        {"", QStringLiteral("input.csv: データ行がありません"), {}},
        {"abc,def\r\n#\r\n", QStringLiteral("input.csv: データ行がありません"), {}},
        {longLine + "\r\n", QStringLiteral("1 行目: 行が 65536 バイトを超えるため、先頭の 65536 バイトだけを読み込みました"),
         {longLine.substr(0, 65536)}},
    };
    auto window = MakeWindow();
    for (const auto& c : cases) {
        ImportBytes(*window, c.bytes);
        EXPECT_EQ(window->StatusBar1->currentMessage(), c.status);
        EXPECT_EQ(MemoContents(*window), c.memo);
        EXPECT_TRUE(errors.isEmpty());
    }
}

TEST_F(JapaneseDesktopTest, ErrorBoxesCarryTheDetail) {
    auto window = MakeWindow();
    ImportBytes(*window, "1,A\r\n98765432101,B\r\n");
    ASSERT_EQ(errorDetails.size(), 1);
    EXPECT_EQ(errors.last(), QStringLiteral("使用できないデータです。"));
    EXPECT_EQ(errorDetails.last(), QStringLiteral("2 行目: 先頭の数値 98765432101 が大きすぎます"));
    ImportPath(*window, QStringLiteral("/nonexistent/missing.csv"));
    EXPECT_EQ(errors.last(), QStringLiteral("テキスト（CSVデータ）を正しく読み取ることが出来ませんでした。"));
    EXPECT_TRUE(errorDetails.last().startsWith(QStringLiteral("ファイル /nonexistent/missing.csv を読めません: ")))
        << errorDetails.last().toStdString();
    // An endless input ends at the longest line read (about a second).
    ImportPath(*window, QStringLiteral("/dev/zero"));
    EXPECT_EQ(errors.last(), QStringLiteral("使用できないデータです。"));
    EXPECT_TRUE(errorDetails.last().startsWith(QStringLiteral("1 行目: 行が 4294967296 バイトを超えます")))
        << errorDetails.last().toStdString();
    EXPECT_TRUE(MemoContents(*window).empty());
}

}  // namespace
}  // namespace mosaiko::test
