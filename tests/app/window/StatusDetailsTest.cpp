// The status bar in full: the details view of a long message and of every
// failing group, the suggested setting applied by its button, and the
// progress and cancel of a long check.
#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include "MainWindow.h"
#include "MessageDetails.h"
#include "PrintActions.h"
#include "PrintAdvice.h"
#include "RadioGroup.h"
#include "ReportForm.h"
#include "WindowTestSupport.h"

namespace mosaiko::test {
namespace {

class StatusDetailsTest : public WindowTest {
protected:
    void SetUp() override {
        window = MakeWindow();
        window->show();
        actions = AttachPrintActions(*window, [](TQuickReport1&, QWidget*) {});
    }
    MessageDetails& Details() { return *window->StatusDetails; }
    QString Verdict() const { return window->Panel4->text(); }

    std::unique_ptr<TQRTest_main> window;
    std::unique_ptr<PrintActions> actions;
};

TEST_F(StatusDetailsTest, LongMessageAndEveryFailingGroupReadInFull) {
    struct Case {
        const char* what;
        std::string file;  // empty: examples/sample.csv
        int failing;
    };
    const std::string q16 = std::string(16, 'q');
    std::string six;
    for (int g = 0; g < 6; ++g) six += "1," + q16 + "\r\n";
    const Case cases[] = {{"the sample at version 1", "", 4}, {"six groups too long", six, 6}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.file.empty())
            ImportPath(*window, MOSAIKO_SAMPLE_CSV);
        else
            ImportBytes(*window, c.file);
        window->TrackBar1->setValue(1);
        window->Button1Click();
        ASSERT_EQ(Verdict(), QString::fromUtf8("異常"));
        const QString line = window->StatusBar1->currentMessage();
        ASSERT_TRUE(Details().DetailsButton->isVisible());
        Details().DetailsButton->click();
        ASSERT_TRUE(Details().DetailsView);
        const QString full = Details().DetailsText->toPlainText();
        EXPECT_TRUE(Details().DetailsText->isReadOnly());
        EXPECT_TRUE(Details().DetailsText->textInteractionFlags() & Qt::TextSelectableByMouse);
        // Every group that failed, each on its own line with its reason.
        for (int g = 1; g <= c.failing; ++g)
            EXPECT_TRUE(full.contains(QStringLiteral("\nグループ %1（データ ").arg(g))) << g << full.toStdString();
        EXPECT_EQ(full.count(QStringLiteral("\nグループ ")), c.failing) << full.toStdString();
        // The advice at the end, whole.
        EXPECT_TRUE(full.contains(QString::fromUtf8("おすすめ: バージョン "))) << full.toStdString();
        EXPECT_TRUE(full.endsWith(QString::fromUtf8("読めます）"))) << full.toStdString();
        EXPECT_GT(full.size(), line.size());
        Details().DetailsView->close();
    }
}

TEST_F(StatusDetailsTest, SuggestedSettingIsAppliedAndTheRecheckPassesForPhones) {
    ImportPath(*window, MOSAIKO_SAMPLE_CSV);
    window->Button1Click();  // version 20, "標準サイズ", 8 per page: 0.125 mm
    ASSERT_TRUE(Details().ActionButton->isVisible());
    EXPECT_EQ(Details().ActionButton->text(), QString::fromUtf8("おすすめを適用"));
    Details().ActionButton->click();
    EXPECT_EQ(window->TrackBar1->value(), 6);
    EXPECT_EQ(window->RadioGroup1->ItemIndex(), 3);
    EXPECT_EQ(window->SpinEdit2->value(), 8);
    EXPECT_EQ(Verdict(), QString::fromUtf8("正常"));
    const double mm = PrintedModuleMm(ImageSideFor(window->SpinEdit2->value()), window->RadioGroup1->ItemIndex() + 1);
    EXPECT_GE(mm, kPhoneModuleMm);
    EXPECT_TRUE(window->StatusBar1->currentMessage().contains(QString::fromUtf8("スマートフォン")));
    EXPECT_FALSE(Details().ActionButton->isVisible());  // nothing better left to offer
}

TEST_F(StatusDetailsTest, LongCheckAndGenerationShowProgressAndCancelStopsThem) {
    struct Case {
        const char* what;
        bool print;
        int groups;  // enough for seconds of work (the check builds no symbol, so it needs many more)
        int version;
        const char* verdict;
        const char* status;
    };
    const Case cases[] = {{"the check", false, 200000, 40, "中止", "生成チェックを中止しました"},
                          {"the report's generation", true, 36000, 1, "正常", "帳票の生成を中止しました"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string file;
        for (int g = 0; g < c.groups; ++g) file += "1,a\r\n";
        ImportBytes(*window, file);
        bool generating = false;
        int pages = 0;
        QTemporaryDir dir;
        const auto printing = AttachPrintActions(*window, [&](TQuickReport1& form, QWidget*) {
            generating = true;
            ASSERT_TRUE(form.ExportToPdf(dir.filePath(QStringLiteral("report.pdf"))));
            pages = form.PageCount();
        });
        window->TrackBar1->setValue(c.version);
        window->SpinEdit2->setValue(20);
        QProgressBar* seen = nullptr;
        int valueSeen = 0;
        QTimer poll;
        poll.setInterval(20);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* bar = window->StatusBar1->findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
            if (seen || !bar || !bar->isVisible() || generating != c.print) return;
            seen = bar;
            valueSeen = bar->value();
            window->SpeedButton2->click();
        });
        poll.start();
        if (c.print)
            window->Button3Click();
        else
            window->Button1Click();
        poll.stop();
        ASSERT_NE(seen, nullptr);
        EXPECT_GT(valueSeen, 0);
        EXPECT_EQ(seen->maximum(), c.groups);
        EXPECT_FALSE(seen->isVisible());
        EXPECT_EQ(Verdict(), QString::fromUtf8(c.verdict));
        EXPECT_TRUE(window->StatusBar1->currentMessage().startsWith(QString::fromUtf8(c.status)))
            << window->StatusBar1->currentMessage().toStdString();
        if (c.print) {
            EXPECT_GT(pages, 0);
            EXPECT_LT(pages, c.groups / 20);  // stopped before the last group, at 20 a page
        }
        EXPECT_FALSE(window->Busy().Busy());
    }
}

}  // namespace
}  // namespace mosaiko::test
