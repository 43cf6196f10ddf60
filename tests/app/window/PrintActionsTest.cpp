// The generation check and report printing through the main window's
// buttons: verdicts, the capacity read-out, and generations of the report.
#include <gtest/gtest.h>

#include <QLabel>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>

#include "PrintActions.h"
#include "QRCode3.h"
#include "MainWindow.h"
#include "ReportForm.h"
#include "RadioGroup.h"
#include "WindowTestSupport.h"

namespace mosaiko::test {
namespace {

class PrintTest : public WindowTest {
protected:
    void SetUp() override {
        window = MakeWindow();
        actions = AttachPrintActions(*window, [this](TQuickReport1& form, QWidget*) {
            ++previews;
            // As the preview and a print from it: two generations.
            for (int run = 0; run < 2; ++run) {
                busyInGeneration = false;
                auto needData = form.OnNeedData;
                form.OnNeedData = [&, needData](bool& more) {
                    busyInGeneration = busyInGeneration || window->Busy().Busy();
                    needData(more);
                    if (more) supplied.push_back(form.LabelText);
                };
                ASSERT_TRUE(form.ExportToPdf(dir.filePath("report.pdf")));
                form.OnNeedData = needData;
                pages = form.PageCount();
            }
        });
    }
    QString Verdict() const { return window->Panel4->text(); }

    std::unique_ptr<TQRTest_main> window;
    std::unique_ptr<PrintActions> actions;
    QTemporaryDir dir;
    int previews = 0;
    int pages = 0;
    bool busyInGeneration = false;
    std::vector<std::string> supplied;
};

TEST_F(PrintTest, CheckShowsVerdictAndCapacity) {
    window->Button1Click();  // nothing imported yet: nothing changes
    EXPECT_TRUE(Verdict().isEmpty());
    EXPECT_TRUE(window->Panel6->text().isEmpty());

    ImportPath(*window, MOSAIKO_SAMPLE_CSV);
    window->Button1Click();
    EXPECT_EQ(Verdict(), QString::fromUtf8("正常"));
    EXPECT_EQ(window->Panel6->text(), "858");
    EXPECT_TRUE(window->QRCode1->SymbolDisped());
    EXPECT_FALSE(window->Busy().Busy());
}

TEST_F(PrintTest, TooLargeForTheHostIsAbnormal) {
    ImportBytes(*window, "1,a\r\n");
    window->TrackBar1->setValue(26);
    window->RadioGroup1->SetItemIndex(1);  // double size: 258 pixels
    window->Button1Click();
    EXPECT_EQ(Verdict(), QString::fromUtf8("異常"));
    window->Button3Click();
    EXPECT_EQ(previews, 0);  // printing stops at the failed check
}

TEST_F(PrintTest, StatusBarNamesFailingGroupsAndWhyAndAStoppedPrint) {
    // Groups 2, 4, 5 and 6 are too long for version 1; the fourth one named is counted only.
    const std::string q16 = std::string(16, 'q');
    ImportBytes(*window, "1,ok\r\n1," + q16 + "\r\n1,ok\r\n1," + q16 + "\r\n1," + q16 + "\r\n1," + q16 + "\r\n");
    window->TrackBar1->setValue(1);
    window->Button1Click();
    EXPECT_EQ(Verdict(), QString::fromUtf8("異常"));
    const QString status = window->StatusBar1->currentMessage();
    EXPECT_TRUE(status.startsWith(QString::fromUtf8("異常: 6 グループ中 4 グループが QR コードになりません: "
                                                    "グループ 2（データ 18 バイトがバージョン 1 の容量 17 バイトを 1 バイト超えている）、"
                                                    "グループ 4（")))
        << status.toStdString();
    EXPECT_TRUE(status.contains(QString::fromUtf8("グループ 5（データ 18 バイト")));
    EXPECT_FALSE(status.contains(QString::fromUtf8("グループ 6"))) << status.toStdString();
    EXPECT_TRUE(status.contains(QString::fromUtf8("ほか 1 グループ")));
    window->Button3Click();
    EXPECT_EQ(previews, 0);
    EXPECT_TRUE(window->StatusBar1->currentMessage().startsWith(
        QString::fromUtf8("生成チェックが異常のため帳票を印刷しませんでした。異常: 6 グループ中 4 グループ")))
        << window->StatusBar1->currentMessage().toStdString();

    window->TrackBar1->setValue(26);
    window->RadioGroup1->SetItemIndex(1);
    window->Button1Click();
    EXPECT_TRUE(window->StatusBar1->currentMessage().contains(
        QString::fromUtf8("グループ 1（シンボル 258 ピクセルが 256 ピクセルの画像より大きい、バージョン 26・2倍角サイズ）")))
        << window->StatusBar1->currentMessage().toStdString();
}

TEST_F(PrintTest, OverflowingRowsAreNamedButStillPrint) {
    std::string file = "1,one line\r\n";
    for (int line = 1; line <= 6; ++line) file += std::to_string(line) + ",line " + std::to_string(line) + "\r\n";
    window->SpinEdit2->setValue(20);  // rows of 13 mm
    window->SpinEdit1->setValue(12);  // about 4.2 mm per line: two lines show
    ImportBytes(*window, file);
    window->Button3Click();
    EXPECT_EQ(Verdict(), QString::fromUtf8("正常"));
    EXPECT_EQ(previews, 1);
    const QString status = window->StatusBar1->currentMessage();
    EXPECT_TRUE(status.contains(QString::fromUtf8("注意: 1 グループの文字が行に収まらず、途中までしか印刷されません: "
                                                  "グループ 2（2 行まで表示）")))
        << status.toStdString();
    EXPECT_FALSE(status.contains(QString::fromUtf8("グループ 1"))) << status.toStdString();

    window->SpinEdit2->setValue(8);  // 33 mm rows hold all six lines
    window->Button1Click();
    EXPECT_FALSE(window->StatusBar1->currentMessage().contains(QString::fromUtf8("注意"))) ;
}

TEST_F(PrintTest, ReportSuppliesEveryGroupInEachGeneration) {
    ImportBytes(*window, "1,A\r\n2,B\r\n1,C\r\n1,D\r\n");
    window->Button3Click();
    EXPECT_EQ(previews, 1);
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(supplied, (std::vector<std::string>{"A\rB\r", "C\r", "D\r", "A\rB\r", "C\r", "D\r"}));
    EXPECT_TRUE(busyInGeneration);  // import and check are refused while groups are read
    EXPECT_FALSE(window->Busy().Busy());
}

TEST_F(PrintTest, ClearedViewStillChecksAndPrintsNoRows) {
    ImportBytes(*window, "1,A\r\n");
    window->SpeedButton3Click();
    window->Button3Click();
    EXPECT_EQ(Verdict(), QString::fromUtf8("正常"));
    EXPECT_EQ(previews, 1);
    EXPECT_TRUE(supplied.empty());
    EXPECT_EQ(pages, 1);
}

// A report larger than the preview holds is refused before the check runs,
// with the numbers in the message.
TEST_F(PrintTest, ReportOverThePreviewLimitIsRefusedBeforeAnyWork) {
    std::string lines;
    for (int i = 0; i < 10001; ++i) lines += "1,row\r\n";  // every line its own group
    ImportBytes(*window, lines);
    window->SpinEdit2->setValue(1);
    window->Button3Click();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0], QString::fromUtf8("プレビューできるのは 10000 ページまでです。10001 グループは 10001 ページになります。"));
    EXPECT_TRUE(errorDetails[0].contains(QStringLiteral("mosaiko-report")));
    EXPECT_TRUE(Verdict().isEmpty());  // no check ran
    EXPECT_EQ(previews, 0);

    // Just within the limit.
    EXPECT_EQ(ReportPagesFor(10001, 2), 5001);
    EXPECT_EQ(ReportPagesFor(10000, 1), 10000);
}

// The limit itself, through the check the print button makes: exactly 10,000
// pages go on to the check and the preview (not rendered here), one more is
// refused, at one and at two groups per page.
TEST_F(PrintTest, PreviewLimitIsTenThousandPagesExactly) {
    actions = AttachPrintActions(*window, [this](TQuickReport1&, QWidget*) { ++previews; });
    const struct {
        int groups;
        int perPage;
        bool shown;
    } rows[] = {{10000, 1, true}, {10001, 1, false}, {20000, 2, true}, {20001, 2, false}};
    for (const auto& row : rows) {
        std::string lines;
        for (int i = 0; i < row.groups; ++i) lines += "1,r\r\n";
        ImportBytes(*window, lines);
        window->SpinEdit2->setValue(row.perPage);
        previews = 0;
        errors.clear();
        window->Button3Click();
        EXPECT_EQ(previews, row.shown ? 1 : 0) << row.groups << " groups, " << row.perPage << " per page";
        EXPECT_EQ(errors.isEmpty(), row.shown) << row.groups << " groups, " << row.perPage << " per page";
    }
}

}  // namespace
}  // namespace mosaiko::test
