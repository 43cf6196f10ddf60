// The generation check and report printing through the main window's
// buttons: verdicts, the capacity read-out, and generations of the report.
#include <gtest/gtest.h>

#include <QLabel>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>

#include "PrintActions.h"
#include "QRCode3.h"
#include "QRSample_main.h"
#include "QR_QR.h"
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

}  // namespace
}  // namespace mosaiko::test
