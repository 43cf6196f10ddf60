// Reports written to PDF and read back with poppler and zxing-cpp.
#include "ReportTestSupport.h"
#include "SampleReport.h"
#include "ShiftJis.h"

#include <QDate>
#include <QFontMetricsF>
#include <QFile>
#include <QLocale>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

namespace mosaiko::test {
namespace {

constexpr int kDpi = 600;

class PdfExport : public ::testing::Test {
protected:
    QString Path(const char* name) const { return dir_.filePath(name); }

    static std::vector<int> Sequence(int count) {
        std::vector<int> v(count);
        for (int i = 0; i < count; ++i) v[i] = i;
        return v;
    }

    QTemporaryDir dir_;
};

void ExpectHeader(const QString& text, const QString& title, int page) {
    EXPECT_TRUE(text.contains(title)) << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("P-\\s*%1\\b").arg(page))))
        << text.toStdString();
    const QString today = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    EXPECT_TRUE(text.contains(today)) << text.toStdString();
}

TEST_F(PdfExport, NineGroupsAtEightPerPageGiveTwoPagesWithExactReadableSymbols) {
    SampleReport report(8);
    report.records = MakeRecords(9);
    const QString pdf = Path("nine.pdf");
    ASSERT_TRUE(report.form.ExportToPdf(pdf)) << report.form.LastError().toStdString();

    EXPECT_EQ(report.form.PageCount(), 2);
    EXPECT_EQ(PdfPageCount(pdf), 2);
    EXPECT_EQ(report.beforePrintCalls, 1);
    EXPECT_EQ(report.supplied, Sequence(9));
    EXPECT_EQ(report.DetailMm(), 33.0);

    const QString title = DecodeShiftJis(report.titleText);
    const QString first = PdfText(pdf, 1);
    const QString second = PdfText(pdf, 2);
    ExpectHeader(first, title, 1);
    ExpectHeader(second, title, 2);
    EXPECT_TRUE(first.contains("行8甲")) << first.toStdString();
    EXPECT_FALSE(first.contains("行9甲"));
    EXPECT_TRUE(second.contains("行9甲")) << second.toStdString();

    for (int page = 1; page <= 2; ++page) {
        const QImage raster = RasterPage(pdf, page, kDpi);
        const int rows = page == 1 ? 8 : 1;
        for (int row = 0; row < rows; ++row) {
            const int record = (page - 1) * 8 + row;
            const QRect area = MmToRaster(report.ImageMm(row), kDpi);
            EXPECT_EQ(DecodeQr(raster, area), report.records[record].qrText)
                << "page " << page << " row " << row;
        }
    }
    // Each picture is in the file exactly as the control holds it: one bit
    // per pixel, nothing resampled, whatever size the row shows it at.
    ExpectExactPictures(pdf, report.Pictures());
}

TEST_F(PdfExport, CarriageReturnBreaksLinesAndLineFeedIsDropped) {
    SampleReport report(8);
    report.records = MakeRecords(1);
    report.records[0].caption = EncodeShiftJis("alpha\nbeta gamma\r\ndelta 日本\n語\repsilon");
    const QString pdf = Path("lines.pdf");
    ASSERT_TRUE(report.form.ExportToPdf(pdf));

    const QStringList lines = PdfText(pdf).split('\n');
    auto lineWith = [&](const QString& word) {
        for (const QString& line : lines)
            if (line.contains(word)) return line.simplified();
        return QString();
    };
    EXPECT_EQ(lineWith("alphabeta"), "alphabeta gamma");
    EXPECT_EQ(lineWith("delta"), "delta 日本語");
    EXPECT_EQ(lineWith("epsilon"), "epsilon");
}

TEST_F(PdfExport, EveryGenerationStartsAgainFromTheFirstRecord) {
    SampleReport report(8);
    report.records = MakeRecords(3);
    ASSERT_TRUE(report.form.ExportToPdf(Path("one.pdf")));
    report.titleText = EncodeShiftJis("second title");
    ASSERT_TRUE(report.form.ExportToPdf(Path("two.pdf")));

    EXPECT_EQ(report.beforePrintCalls, 2);
    std::vector<int> twice = Sequence(3);
    twice.insert(twice.end(), twice.begin(), twice.end());
    EXPECT_EQ(report.supplied, twice);
    EXPECT_EQ(PdfPageCount(Path("two.pdf")), 1);
    const QString text = PdfText(Path("two.pdf"));
    EXPECT_TRUE(text.contains("second title"));
    EXPECT_TRUE(text.contains("行3甲"));
}

// Each page generated alone (as the preview shows it) against the same page
// of the whole report: the same records asked for, the same rows pixel for
// pixel under the header (whose clock moves on), the same page number.
TEST_F(PdfExport, PageGeneratedAloneEqualsThatPageOfTheWholeReport) {
    SampleReport report(8);
    report.records = MakeRecords(19);
    ASSERT_TRUE(report.form.ExportToPdf(Path("whole.pdf")));
    const TReportPage& paper = report.form.Page();
    const double headerBottom = paper.PrintableTop() + report.form.FindBand(TBandType::rbPageHeader)->Size().Height();
    const QRect rows = MmToRaster(QRectF(0, headerBottom, paper.Width(), paper.Length() - headerBottom), 150);
    for (const int page : {1, 2, 3}) {
        SCOPED_TRACE(page);
        report.supplied.clear();
        const QString alone = Path("alone.pdf");
        {
            QPdfWriter writer(alone);
            writer.setResolution(TQuickRep::kPdfResolution);
            ASSERT_TRUE(report.form.PrintPage(writer, page));
        }
        std::vector<int> expected;
        for (int r = (page - 1) * 8; r < std::min(page * 8, 19); ++r) expected.push_back(r);
        EXPECT_EQ(report.supplied, expected);
        EXPECT_EQ(report.form.PageCount(), 1);
        ExpectHeader(PdfText(alone), DecodeShiftJis(report.titleText), page);
        EXPECT_EQ(RasterPage(alone, 1, 150).copy(rows), RasterPage(Path("whole.pdf"), page, 150).copy(rows));
    }
    report.form.OnSkipToRecord = nullptr;  // a form that cannot skip gets no page alone
    QPdfWriter writer(Path("refused.pdf"));
    EXPECT_FALSE(report.form.PrintPage(writer, 2));
    EXPECT_FALSE(report.form.LastError().isEmpty());
}

TEST_F(PdfExport, ReportWithoutRecordsPrintsTheHeaderOnOnePageUnlessTurnedOff) {
    SampleReport report(8);
    ASSERT_TRUE(report.form.ExportToPdf(Path("empty.pdf")));
    EXPECT_EQ(PdfPageCount(Path("empty.pdf")), 1);
    ExpectHeader(PdfText(Path("empty.pdf")), DecodeShiftJis(report.titleText), 1);

    report.form.SetPrintIfEmpty(false);
    EXPECT_FALSE(report.form.ExportToPdf(Path("none.pdf")));
    EXPECT_FALSE(QFile::exists(Path("none.pdf")));
    EXPECT_EQ(report.form.PageCount(), 0);
    EXPECT_FALSE(report.form.LastError().isEmpty());
}

TEST_F(PdfExport, BeforePrintCanCancelAndNoFileIsLeft) {
    SampleReport report(8);
    report.records = MakeRecords(2);
    report.form.BeforePrint = [](bool& printIt) { printIt = false; };
    EXPECT_FALSE(report.form.ExportToPdf(Path("cancelled.pdf")));
    EXPECT_FALSE(QFile::exists(Path("cancelled.pdf")));
    EXPECT_TRUE(report.supplied.empty());
}

TEST_F(PdfExport, BandsSitAtTheirMillimetrePositions) {
    SampleReport report(8);
    report.records = MakeRecords(1);
    ASSERT_TRUE(report.form.ExportToPdf(Path("margins.pdf")));
    constexpr int dpi = 300;
    const QImage raster = RasterPage(Path("margins.pdf"), 1, dpi);
    const double perMm = dpi / 25.4;
    // The header's grey bottom line: its last row is the band's bottom edge.
    const int x = static_cast<int>(100 * perMm);
    int lastGrey = -1;
    for (int y = 0; y < static_cast<int>(30 * perMm); ++y) {
        const int v = qGray(raster.pixel(x, y));
        if (v > 90 && v < 170) lastGrey = y;
    }
    const double headerBottom = 10 + 29 * 25.4 / 96;
    EXPECT_NEAR(lastGrey / perMm, headerBottom, 0.2);
    // The line starts at the left margin.
    const int row = lastGrey;
    int firstGrey = -1;
    for (int px = 0; px < x && firstGrey < 0; ++px)
        if (qGray(raster.pixel(px, row)) < 200) firstGrey = px;
    EXPECT_NEAR(firstGrey / perMm, 10.0, 0.2);
}

// A label two and a half lines high shows two whole lines, the second ending
// with "…", and not a pixel of the third.
TEST_F(PdfExport, CutLabelShowsWholeLinesAndMarksTheCut) {
    SampleReport report(8);
    report.records = MakeRecords(1);
    report.records[0].caption = "alpha line\rbravo line\rcharlie line\rdelta line\r";
    QImage pdfResolution(1, 1, QImage::Format_Mono);
    const int dotsPerMetre = static_cast<int>(std::lround(TQuickRep::kPdfResolution / 0.0254));
    pdfResolution.setDotsPerMeterX(dotsPerMetre);
    pdfResolution.setDotsPerMeterY(dotsPerMetre);
    const double lineMm = QFontMetricsF(report.text->Font(), &pdfResolution).lineSpacing() * 25.4 /
                          TQuickRep::kPdfResolution;
    const QRect bounds = report.text->Bounds();
    const int height = static_cast<int>(std::lround(2.5 * lineMm * 96 / 25.4));
    report.text->SetBounds(QRect(bounds.left(), bounds.top(), bounds.width(), height));
    ASSERT_TRUE(report.form.ExportToPdf(Path("cut.pdf")));

    const QString text = PdfText(Path("cut.pdf"));
    EXPECT_TRUE(text.contains("alpha line")) << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression(QString::fromUtf8("bravo line\\s*…")))) << text.toStdString();
    EXPECT_FALSE(text.contains("charlie")) << text.toStdString();

    const double labelTop = 10 + (29 + bounds.top()) * 25.4 / 96;
    const double labelLeft = 10 + bounds.left() * 25.4 / 96;
    const QImage page = RasterPage(Path("cut.pdf"), 1, kDpi);
    auto darkIn = [&](double topMm, double bottomMm) {
        const QRect area = MmToRaster(QRectF(labelLeft, topMm, 60, bottomMm - topMm), kDpi);
        int dark = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) dark += qGray(page.pixel(x, y)) < 128;
        return dark;
    };
    EXPECT_GT(darkIn(labelTop, labelTop + 2 * lineMm), 100);
    EXPECT_EQ(darkIn(labelTop + 2 * lineMm + 0.1, labelTop + height * 25.4 / 96 - 0.05), 0);
}

TEST_F(PdfExport, AbsurdContentIsClippedOrSpreadNeverHangs) {
    SampleReport report(8);
    report.records = MakeRecords(2);
    // Several megabytes of text in one line and thousands of lines.
    report.records[0].caption = std::string(4'000'000, 'W');
    for (int i = 0; i < 20000; ++i) report.records[1].caption += "x\r";
    // A row taller than the page prints once per page, cut at the margin.
    report.form.Band(TBandType::rbDetail).Size().SetHeight(400);
    ASSERT_TRUE(report.form.ExportToPdf(Path("absurd.pdf")));
    EXPECT_EQ(PdfPageCount(Path("absurd.pdf")), 2);
}

TEST_F(PdfExport, UnwritablePathFailsWithAMessage) {
    SampleReport report(8);
    EXPECT_FALSE(report.form.ExportToPdf(Path("missing/dir/out.pdf")));
    EXPECT_FALSE(report.form.LastError().isEmpty());
}

}  // namespace
}  // namespace mosaiko::test
