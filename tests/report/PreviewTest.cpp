// The preview dialog on the offscreen platform, driven from a timer while its
// modal loop runs.
#include "ReportTestSupport.h"
#include "SampleReport.h"

#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace mosaiko::test {
namespace {

// Calls act(dialog) once the preview dialog is up; gives up (closing every
// window) after about ten seconds so a missing dialog cannot hang the test.
void WhenPreviewShows(std::function<void(QPrintPreviewDialog&)> act, int triesLeft = 1000) {
    QTimer::singleShot(10, [act = std::move(act), triesLeft]() mutable {
        if (auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget())) {
            act(*dialog);
            return;
        }
        if (triesLeft == 0) {
            QApplication::closeAllWindows();
            return;
        }
        WhenPreviewShows(std::move(act), triesLeft - 1);
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

}  // namespace
}  // namespace mosaiko::test
