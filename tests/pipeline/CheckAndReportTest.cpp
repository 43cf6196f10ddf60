// The generation check and the report form against a real control, a real
// PDF and a real decoder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>
#include <QImageReader>
#include <QTemporaryDir>
#include <QWidget>
#include <memory>

#include "GenerationCheck.h"
#include "Import.h"
#include "QRHost.h"
#include "QRCode3.h"
#include "QR_QR.h"
#include "QrDecodeQt.h"
#include "ShiftJis.h"

namespace mosaiko {
namespace {

// The main window's hidden 256 x 256 control, built as the window builds it.
struct Host {
    TQRHost host;
    TQRCode* qr = host.QRCode1;
};

MemoLines Imported(const std::string& file) {
    MemoLines memo;
    const ImportResult r = ImportBytes(file, memo);
    EXPECT_EQ(r.outcome, ImportOutcome::Done);
    return memo;
}

std::string Sjis(const char* utf8) { return EncodeShiftJis(QString::fromUtf8(utf8)); }

TEST(GenerationCheck, ShortTextsPassAtTheDefaults) {
    Host host;
    const MemoLines memo = Imported("1,Tokyo\r\n2,Osaka\r\n1," + Sjis("日本語") + "\r\n");
    const CheckOutcome out = RunGenerationCheck(memo, *host.qr, {256, 256}, 20, 0);
    EXPECT_EQ(out.groups, 2);
    EXPECT_TRUE(out.Passed());
    EXPECT_EQ(out.capacity, 858);  // byte mode at 20-L: every text ends with CR LF
    EXPECT_TRUE(host.qr->SymbolDisped());
}

TEST(GenerationCheck, SymbolsLargerThanTheHostFail) {
    Host host;
    const MemoLines memo = Imported("1,a\r\n");
    EXPECT_TRUE(RunGenerationCheck(memo, *host.qr, {256, 256}, 25, 1).Passed());   // 250 px
    EXPECT_FALSE(RunGenerationCheck(memo, *host.qr, {256, 256}, 26, 1).Passed());  // 258 px
    EXPECT_FALSE(host.qr->SymbolDisped());  // the oversized symbol is cleared
    EXPECT_TRUE(RunGenerationCheck(memo, *host.qr, {256, 256}, 15, 2).Passed());
    EXPECT_FALSE(RunGenerationCheck(memo, *host.qr, {256, 256}, 10, 3).Passed());
    EXPECT_TRUE(RunGenerationCheck(memo, *host.qr, {256, 256}, 40, 0).Passed());
}

TEST(GenerationCheck, DataThatDoesNotFitTheVersion) {
    Host host;
    // 16 letters + CR LF = 18 bytes: 156 bits against 152 at 1-L.
    const MemoLines fits = Imported("1," + std::string(15, 'q') + "\r\n");
    EXPECT_TRUE(RunGenerationCheck(fits, *host.qr, {256, 256}, 1, 0).Passed());
    const MemoLines memo = Imported("1,ok\r\n1," + std::string(16, 'q') + "\r\n1,ok\r\n");
    const CheckOutcome out = RunGenerationCheck(memo, *host.qr, {256, 256}, 1, 0);
    EXPECT_EQ(out.errors, 1);
    EXPECT_EQ(out.failedGroups, std::vector<int>{2});
}

TEST(GenerationCheck, SymbolHoldsTheLineTextsWithTildesAndTabs) {
    Host host;
    const MemoLines memo = Imported("1,a~b\tc\r\n2\r\n3,\r\n");
    ASSERT_TRUE(RunGenerationCheck(memo, *host.qr, {256, 256}, 3, 0).Passed());
    const auto decoded = test::DecodeImage(PictureImage(*host.qr));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->bytes, "a~b\tc\r\n2\r\n\r\n");  // no comma: the whole line
}

TEST(GenerationCheck, EmptyViewChecksNothing) {
    Host host;
    const MemoLines memo;
    const CheckOutcome out = RunGenerationCheck(memo, *host.qr, {256, 256}, 20, 0);
    EXPECT_EQ(out.groups, 0);
    EXPECT_TRUE(out.Passed());
}

TEST(ReportForm, LayoutFollowsGroupsPerPage) {
    Host host;
    MemoLines memo;
    TQuickReport1 form(ReportSource{&memo, host.qr, [] { return 20; }, [] { return 0; }, {}, {}});
    struct Row {
        int perPage, h, side, left, textWidth;
    };
    for (const Row& r : {Row{1, 1017, 255, 462, 438}, Row{2, 506, 255, 462, 438}, Row{4, 253, 249, 468, 444},
                         Row{8, 125, 121, 596, 572}, Row{20, 49, 45, 672, 648}}) {
        form.Arrange(10, r.perPage);
        EXPECT_EQ(form.QRBand2->Height(), r.h) << r.perPage;
        EXPECT_EQ(form.QRImage->Width(), r.side) << r.perPage;
        EXPECT_EQ(form.QRImage->Height(), r.side) << r.perPage;
        EXPECT_EQ(form.QRImage->Left(), r.left) << r.perPage;
        EXPECT_EQ(form.Naiyo->Width(), r.textWidth) << r.perPage;
        EXPECT_EQ(form.Naiyo->Height(), r.h - 4) << r.perPage;
    }
}

std::string PdfText(const QString& pdf) {
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    p.waitForFinished(60000);
    return p.readAllStandardOutput().toStdString();
}

// Every row's QR code, in page order, from the PDF rasterised at 600 dpi
// (a version-20 module is under a tenth of a millimetre on paper).
std::vector<std::string> DecodeRows(const QString& pdf, const QString& dir, int pages) {
    QProcess p;
    p.start("pdftoppm", {"-r", "600", "-gray", "-png", pdf, dir + "/page"});
    p.waitForFinished(120000);
    std::vector<std::string> rows;
    for (int page = 1; page <= pages; ++page) {
        QImage image(dir + QString("/page-%1.png").arg(page));
        if (image.isNull()) image.load(dir + QString("/page-%1.png").arg(page, 2, 10, QChar('0')));
        // Each row is a band of the detail height under the 17.67 mm header area.
        const double pxPerMm = 600 / 25.4;
        const int top = static_cast<int>((10 + 7.673) * pxPerMm);
        const int rowHeight = static_cast<int>(125 * 600 / 96);  // the 125-pixel detail band
        for (int y = top; y + rowHeight <= image.height(); y += rowHeight) {
            const auto d = test::DecodeImage(image.copy(image.width() / 2, y, image.width() / 2, rowHeight));
            if (d) rows.push_back(d->bytes);
        }
    }
    return rows;
}

// Nine groups over two pages: Kanji, a tilde, a tab, and one long group.
TEST(ReportForm, PdfRowsScanToTheirGroups) {
    Host host;
    std::string file = Sjis("番号,内容") + "\r\n";
    std::vector<std::string> expected;
    for (int g = 1; g <= 9; ++g) {
        const int lines = g == 5 ? 12 : 2;
        std::string data;
        for (int line = 1; line <= lines; ++line) {
            std::string text = "Group " + std::to_string(g) + Sjis(" 行") + std::to_string(line);
            if (g == 3) text += " ~1~ a~~b";
            if (g == 4) text += "\tafter a tab";
            file += std::to_string(line) + "," + text + "\r\n";
            data += text + "\r\n";
        }
        expected.push_back(data);
    }
    const MemoLines memo = Imported(file);
    ASSERT_TRUE(RunGenerationCheck(memo, *host.qr, {256, 256}, 20, 0).Passed());
    int generations = 0;
    TQuickReport1 form(ReportSource{&memo, host.qr, [] { return 20; }, [] { return 0; },
                                    [&] { ++generations; return Sjis("在庫リスト"); }, {}});
    form.LastLine = static_cast<int>(memo.Count()) - 1;
    form.Arrange(10, 8);
    QTemporaryDir dir;
    const QString pdf = dir.path() + "/report.pdf";
    ASSERT_TRUE(form.ExportToPdf(pdf));
    EXPECT_EQ(form.PageCount(), 2);
    EXPECT_EQ(generations, 1);
    const std::string text = PdfText(pdf);
    EXPECT_NE(text.find("在庫リスト"), std::string::npos);
    EXPECT_NE(text.find("P-"), std::string::npos);
    EXPECT_EQ(DecodeRows(pdf, dir.path(), 2), expected);
    // A second generation starts again from the first group.
    ASSERT_TRUE(form.ExportToPdf(pdf));
    EXPECT_EQ(form.PageCount(), 2);
    EXPECT_EQ(generations, 2);
}

// The page count the preview limit is judged by, against the pages a real
// generation fills; at 18 groups per page 19 rows fit on a page.
TEST(ReportForm, PagesForMatchesTheGeneratedPages) {
    QTemporaryDir dir;
    for (const int perPage : {1, 8, 17, 18, 20}) {
        for (const long long records : {0LL, 1LL, 18LL, 19LL, 41LL}) {
            SCOPED_TRACE(std::to_string(perPage) + " per page, " + std::to_string(records) + " records");
            TQuickReport1 form{ReportSource{}};
            form.Arrange(10, perPage);
            long long left = 0;
            form.BeforePrint = [&](bool&) { left = records; };
            form.OnNeedData = [&](bool& more) { more = left-- > 0; };
            ASSERT_TRUE(form.ExportToPdf(dir.path() + "/pages.pdf"));
            EXPECT_EQ(ReportPagesFor(records, perPage), form.PageCount());
        }
    }
}

TEST(ReportForm, EmptyViewGivesAHeaderOnly) {
    Host host;
    const MemoLines memo;
    TQuickReport1 form(ReportSource{&memo, host.qr, [] { return 20; }, [] { return 0; }, [] { return std::string(); }, {}});
    form.LastLine = -1;
    form.Arrange(10, 8);
    QTemporaryDir dir;
    ASSERT_TRUE(form.ExportToPdf(dir.path() + "/empty.pdf"));
    EXPECT_EQ(form.PageCount(), 1);
}

}  // namespace
}  // namespace mosaiko

int main(int argc, char** argv) {
    // No display when CTest lists the tests at build time.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QImageReader::setAllocationLimit(1024);  // 600-dpi A4 pages are larger than the default limit
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
