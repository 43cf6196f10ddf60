// The preview dialog on the offscreen platform, driven from a timer while its
// modal loop runs.
#include "ReportTestSupport.h"
#include "SampleReport.h"

#include "ReportPreview.h"

#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <numeric>
#include <type_traits>
#include <gtest/gtest.h>

namespace mosaiko::test {
namespace {

// Calls act(dialog) once the preview dialog is up; gives up (closing every
// window) after about ten seconds so a missing dialog cannot hang the test.
template <class Dialog = QPrintPreviewDialog>
void WhenPreviewShows(std::type_identity_t<std::function<void(Dialog&)>> act, int triesLeft = 1000) {
    QTimer::singleShot(10, [act = std::move(act), triesLeft]() mutable {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            act(*dialog);
            return;
        }
        if (triesLeft == 0) {
            QApplication::closeAllWindows();
            return;
        }
        WhenPreviewShows<Dialog>(std::move(act), triesLeft - 1);
    });
}

TEST(Preview, ShowsAllRecordsAndPrintingGeneratesAgainFromTheFirst) {
    SampleReport report(8);
    report.records = MakeRecords(9);
    QTemporaryDir dir;
    const QString printed = dir.filePath("printed.pdf");
    std::vector<int> seenByPreview;
    int previewPages = 0;

    WhenPreviewShows([&](QPrintPreviewDialog& dialog) {
        seenByPreview = report.supplied;
        if (auto* view = dialog.findChild<QPrintPreviewWidget*>()) {
            previewPages = view->pageCount();
            // What the dialog's print button does once Qt's print dialog is accepted.
            dialog.printer()->setOutputFormat(QPrinter::PdfFormat);
            dialog.printer()->setOutputFileName(printed);
            view->print();
        }
        dialog.reject();
    });
    report.form.Preview();

    std::vector<int> once(9);
    for (int i = 0; i < 9; ++i) once[i] = i;
    EXPECT_EQ(seenByPreview, once);
    EXPECT_EQ(previewPages, 2);
    std::vector<int> twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(report.supplied, twice);
    EXPECT_EQ(report.beforePrintCalls, 2);
    EXPECT_EQ(report.form.PageCount(), 2);
    EXPECT_EQ(PdfPageCount(printed), 2);
    EXPECT_TRUE(PdfText(printed, 2).contains("行9甲"));
    // The preview keeps its pictures in its own compact way; what it prints
    // still carries each picture as the 1-bit image the control made.
    ExpectExactPictures(printed, report.Pictures());
}

std::vector<int> Records(int first, int end) {
    std::vector<int> v(end - first);
    std::iota(v.begin(), v.end(), first);
    return v;
}

// A form that tells its record count and can skip to a record: the preview
// opens having asked only for the first page's records, generates each page
// it is sent to from that page's first record, and prints the whole report.
TEST(Preview, PagesKnownAheadAreGeneratedWhenShown) {
    SampleReport report(8);
    report.records = MakeRecords(19);
    report.form.RecordCount = [&] { return static_cast<long long>(report.records.size()); };
    QTemporaryDir dir;
    const QString printed = dir.filePath("printed.pdf");
    int pages = 0;
    std::vector<std::vector<int>> seen;
    auto take = [&] { seen.push_back(report.supplied); report.supplied.clear(); };

    bool wholePage = false;
    WhenPreviewShows<ReportPreview>([&](ReportPreview& dialog) {
        pages = dialog.PageCount();
        wholePage = dialog.findChild<QPrintPreviewWidget*>()->zoomMode() == QPrintPreviewWidget::FitInView;
        take();
        for (const int page : {3, 2, 9, 3}) {
            dialog.ShowPage(page);
            take();
        }
        dialog.Printer().setOutputFormat(QPrinter::PdfFormat);
        dialog.Printer().setOutputFileName(printed);
        dialog.PrintReport();
        take();
        dialog.reject();
    });
    report.form.Preview();

    EXPECT_EQ(pages, 3);
    EXPECT_TRUE(wholePage);
    // Page 9 stands for the last page; the page on view is not generated again.
    const std::vector<std::vector<int>> expected{Records(0, 8),   Records(16, 19), Records(8, 16),
                                                 Records(16, 19), {},              Records(0, 19)};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(PdfPageCount(printed), 3);
    ExpectExactPictures(printed, report.Pictures());
}

// The print dialog offers a PDF file named after the title.
TEST(Preview, TitleMadeSafeForAFileName) {
    const std::pair<const char*, const char*> cases[] = {
        {"出荷一覧 2026/12", "出荷一覧 2026_12"},
        {"a\\b:c*d?e\"f<g>h|i", "a_b_c_d_e_f_g_h_i"},
        {"月報\t第1版\n", "月報_第1版_"},
        {"売上 v1.5", "売上 v1.5"},
        {"一覧. ", "一覧"},
        {"", "帳票"},
        {"///", "___"},
    };
    for (const auto& [title, name] : cases)
        EXPECT_EQ(FileNameForTitle(QString::fromUtf8(title)), QString::fromUtf8(name)) << title;
}

}  // namespace
}  // namespace mosaiko::test
