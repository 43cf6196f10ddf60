// The import through the window: the line rules, counters, the two error
// messages, the dialog, clear, and cancel before and during an import.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

#include "MemoView.h"
#include "ShiftJis.h"
#include "WindowTestSupport.h"

namespace mosaiko::test {
namespace {

const QString kReadError = QStringLiteral("テキスト（CSVデータ）を正しく読み取ることが出来ませんでした。");
const QString kUnusable = QStringLiteral("使用できないデータです。");

std::string Sjis(const QString& text) { return EncodeShiftJis(text); }

using ImportTest = WindowTest;

TEST_F(ImportTest, KeepsDataLinesAndSeparatesGroups) {
    struct Case {
        std::string file;
        Lines memo;
        QString lines, groups;
    };
    const std::string sep = Sep();
    const std::string tokyo = Sjis(QStringLiteral("1,東京"));
    const Case cases[] = {
        {"1,A\r\n2,B\r\n1,C\r\n3,D\r\n1,E\r\n", {"1,A", "2,B", sep, "1,C", "3,D", sep, "1,E"}, "5", "3"},
        {"1,A\r\n1,B\r\n", {"1,A", sep, "1,B"}, "2", "2"},
        {"No,Text\r\n1,A\r\n,x\r\n-1,y\r\n2,B\r\n", {"1,A", "2,B"}, "2", "1"},
        {"5,A\r\n1.5,x\r\n3,B\r\n", {"5,A", sep, "3,B"}, "2", "2"},
        {"", {}, "0", "0"},
        {"No,Text\r\n", {}, "0", "0"},
        {"3\r7\r9\r2\r2\r5\r", {"3", "7", "9", sep, "2", sep, "2", "5"}, "6", "3"},
        // Blank, tab and a quoted number end or form the first field; leading
        // blanks stay; full-width digits and signs are skipped.
        {"12\r\n13 t\r\n14\tu\r\n  15,x\r\n\"16\",q\r\n" + Sjis(QStringLiteral("１７,w")) + "\r\n+18,s\r\n007,z\r\n",
         {"12", "13 t", "14\tu", "  15,x", "\"16\",q", sep, "007,z"}, "6", "2"},
        // Ctrl-Z ends the file; an empty line is skipped.
        {tokyo + "\r\n\r\n2,B\x1a" "3,C\r\n", {tokyo, "2,B"}, "2", "1"},
        // A line feed alone ends a line as well.
        {"1,A\n2,B\n1,C", {"1,A", "2,B", sep, "1,C"}, "3", "2"},
    };
    auto window = MakeWindow();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        ImportBytes(*window, c.file);
        EXPECT_EQ(MemoContents(*window), c.memo);
        EXPECT_EQ(window->Panel5->text(), c.lines);
        EXPECT_EQ(window->Panel16->text(), c.groups);
        EXPECT_EQ(window->LineCount, c.lines.toInt());
        EXPECT_TRUE(errors.isEmpty());
        EXPECT_FALSE(window->CancelRequested);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
    EXPECT_EQ(window->FilePath->text(), *nextChoice);
}

TEST_F(ImportTest, UnusableDataEndsTheImportWithItsMessage) {
    auto window = MakeWindow();
    ImportBytes(*window, "1,A\r\n2,B\r\n1,C\r\n");
    const QString firstPath = window->FilePath->text();
    for (const std::string bad : {"1,a\r\n2,b\r\n12345678901,x\r\n3,c\r\n", "1,a\r\n2,b\r\n   \r\n3,c\r\n",
                                  "1,a\r\n2,b\r\n2147483648\r\n"}) {
        SCOPED_TRACE(bad);
        errors.clear();
        ImportPath(*window, WriteFile(QStringLiteral("bad.csv"), bad));
        ASSERT_EQ(errors.size(), 1);
        EXPECT_EQ(errors[0], kUnusable);
        EXPECT_EQ(errorCursorsLeft, 0);  // the normal cursor is back before the box
        EXPECT_TRUE(window->Lines().Empty());
        EXPECT_EQ(window->LineCount, 2);  // lines accepted before the failure
        EXPECT_EQ(window->Panel5->text(), "3");  // the captions of the import before
        EXPECT_EQ(window->Panel16->text(), "2");
        EXPECT_NE(window->FilePath->text(), firstPath);
        EXPECT_FALSE(window->CancelRequested);
    }
    // The largest signed 32-bit number is still a number.
    errors.clear();
    ImportBytes(*window, "2147483647,max\r\n");
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(MemoContents(*window), Lines{"2147483647,max"});
}

TEST_F(ImportTest, FileThatCannotBeReadGivesTheReadMessage) {
    auto window = MakeWindow();
    ImportBytes(*window, "1,A\r\n");
    ImportPath(*window, QStringLiteral("/no/such/folder/list.csv"));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0], kReadError);
    EXPECT_TRUE(window->Lines().Empty());
    EXPECT_EQ(window->FilePath->text(), "/no/such/folder/list.csv");
    EXPECT_EQ(window->LineCount, 0);
    EXPECT_EQ(window->Panel5->text(), "1");
}

TEST_F(ImportTest, CancelledDialogChangesNothing) {
    auto window = MakeWindow();
    ImportBytes(*window, "1,A\r\n1,B\r\n");
    const QString path = window->FilePath->text();
    window->SpeedButton2->click();  // a stray cancel request is cleared as well
    nextChoice.reset();
    window->SpeedButton1->click();
    EXPECT_EQ(dialogInitialPaths.back(), path);  // the dialog opens at the last file
    EXPECT_EQ(MemoContents(*window), (Lines{"1,A", Sep(), "1,B"}));
    EXPECT_EQ(window->FilePath->text(), path);
    EXPECT_EQ(window->Panel5->text(), "2");
    EXPECT_EQ(window->LineCount, 2);
    EXPECT_FALSE(window->CancelRequested);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ImportTest, CancelPressedWhileNoImportRunsDoesNotEmptyTheNextOne) {
    auto window = MakeWindow();
    window->SpeedButton2->click();
    EXPECT_TRUE(window->CancelRequested);
    ImportBytes(*window, "1,A\r\n2,B\r\n");
    EXPECT_EQ(MemoContents(*window), (Lines{"1,A", "2,B"}));
    EXPECT_EQ(window->Panel5->text(), "2");
    EXPECT_FALSE(window->CancelRequested);
}

TEST_F(ImportTest, CancelDuringAnImportKeepsTheLinesReadSoFar) {
    auto window = MakeWindow();
    AtLine press(*window, 100, [&] { window->SpeedButton2->click(); });
    ImportBytes(*window, Numbered(5000));
    const std::size_t kept = window->Lines().Count();
    EXPECT_GE(kept, 100u);
    EXPECT_LT(kept, 110u);
    EXPECT_EQ(window->LineCount, static_cast<int>(kept));
    EXPECT_EQ(window->Panel5->text(), QString::number(kept));
    EXPECT_EQ(window->Panel16->text(), "1");
    EXPECT_FALSE(window->CancelRequested);

    // The import after it runs to the end.
    ImportBytes(*window, Numbered(300));
    EXPECT_EQ(window->Lines().Count(), 300u);
}

TEST_F(ImportTest, TimeSlicedImportProcessesEventsAfterTheFirstLine) {
    importSliceMs = MainWindowSeams{}.importSliceMs;  // the window's own time slice
    auto window = MakeWindow();
    AtLine press(*window, 1, [&] { window->SpeedButton2->click(); });
    ImportBytes(*window, Numbered(5000));
    EXPECT_EQ(window->Lines().Count(), 1u);
    EXPECT_EQ(window->Panel5->text(), "1");
    EXPECT_FALSE(window->CancelRequested);
}

TEST_F(ImportTest, ClearEmptiesTheViewAndCountersButKeepsTheRest) {
    auto window = MakeWindow();
    ImportBytes(*window, "1,A\r\n1,B\r\n");
    window->Panel4->setText(QStringLiteral("正常"));
    window->Panel6->setText("858");
    window->SpeedButton3->click();
    EXPECT_TRUE(window->Lines().Empty());
    EXPECT_EQ(window->Panel5->text(), "");
    EXPECT_EQ(window->Panel16->text(), "");
    EXPECT_EQ(window->LineCount, 2);
    EXPECT_FALSE(window->FilePath->text().isEmpty());
    EXPECT_EQ(window->Panel4->text(), QStringLiteral("正常"));
    EXPECT_EQ(window->Panel6->text(), "858");
    EXPECT_EQ(window->Memo1->verticalScrollBar()->maximum(), 0);
}

TEST_F(ImportTest, ShippedSampleImportsAtOnce) {
    auto window = MakeWindow();
    ImportPath(*window, QString::fromUtf8(MOSAIKO_SAMPLE_CSV));
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(window->Panel5->text(), "12");
    EXPECT_EQ(window->Panel16->text(), "4");
    // Held as the file's bytes, shown decoded.
    EXPECT_EQ(window->Lines().Line(0), Sjis(QStringLiteral("1,株式会社モザイコ 東京本社")));
    EXPECT_EQ(window->Memo1->LineText(0), QStringLiteral("1,株式会社モザイコ 東京本社"));
}

// A cell's line break: one record with a visible mark in CSV reading; the
// plain reading keeps the first line and names the one it left out.
TEST_F(ImportTest, CsvCheckBoxReadsRecordsAndThePlainReadingWarns) {
    const struct {
        bool csv;
        QString shown;
        QString count;
        QString status;
    } cases[] = {
        {true, QStringLiteral("1,\"a↵b\",c"), "1", ""},
        {false, QStringLiteral("1,\"a"), "1",
         QStringLiteral("1 行目: 引用符の中の改行に続く 2 行目を読み込みませんでした（CSV読込で読めます）")},
    };
    for (const auto& c : cases) {
        auto window = MakeWindow();
        window->CheckBox2->setChecked(c.csv);
        ImportBytes(*window, "1,\"a\nb\",c\r\n");
        EXPECT_EQ(window->Memo1->LineText(0), c.shown);
        EXPECT_EQ(window->Panel5->text(), c.count);
        EXPECT_EQ(window->StatusBar1->currentMessage(), c.status);
    }
}

}  // namespace
}  // namespace mosaiko::test
