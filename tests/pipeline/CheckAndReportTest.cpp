// The generation check and the report form against a real control, a real
// PDF and a real decoder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>
#include <QImageReader>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QDir>
#include <QWidget>
#include <algorithm>
#include <memory>

#include "CheckMessages.h"
#include "GenerationCheck.h"
#include "Import.h"
#include "ReportJob.h"
#include "QRHost.h"
#include "QRCode3.h"
#include "ReportForm.h"
#include "PictureScaling.h"
#include "QrDecodeQt.h"
#include "ShiftJis.h"
#include "SymbolPicture.h"

namespace mosaiko {
namespace {

// The encoder the check and the report share, and the window's hidden
// 256 x 256 control, built as the window builds it, which the window's check
// leaves holding the last group's symbol.
struct Host {
    SymbolEncoder symbols;
    TQRHost host;
    TQRCode* qr = host.QRCode1;
    CheckOutcome Check(const MemoLines& memo, int version, int sizeIndex, const RowTextFit* rows = nullptr) {
        CheckOutcome out = RunGenerationCheck(memo, symbols, version, sizeIndex, {}, rows);
        ShowLastGroup(*qr, out, version, sizeIndex);
        return out;
    }
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
    const CheckOutcome out = host.Check(memo, 20, 0);
    EXPECT_EQ(out.groups, 2);
    EXPECT_TRUE(out.Passed());
    EXPECT_EQ(out.capacity, 858);  // byte mode at 20-L: every text ends with CR LF
    EXPECT_TRUE(host.qr->SymbolDisped());
}

TEST(GenerationCheck, SymbolsLargerThanTheHostFail) {
    Host host;
    const MemoLines memo = Imported("1,a\r\n");
    EXPECT_TRUE(host.Check(memo, 25, 1).Passed());   // 250 px
    EXPECT_FALSE(host.Check(memo, 26, 1).Passed());  // 258 px
    EXPECT_FALSE(host.qr->SymbolDisped());  // the oversized symbol is cleared
    EXPECT_TRUE(host.Check(memo, 15, 2).Passed());
    EXPECT_FALSE(host.Check(memo, 10, 3).Passed());
    EXPECT_TRUE(host.Check(memo, 40, 0).Passed());
}

TEST(GenerationCheck, DataThatDoesNotFitTheVersion) {
    Host host;
    // 16 letters + CR LF = 18 bytes: 156 bits against 152 at 1-L.
    const MemoLines fits = Imported("1," + std::string(15, 'q') + "\r\n");
    EXPECT_TRUE(host.Check(fits, 1, 0).Passed());
    const MemoLines memo = Imported("1,ok\r\n1," + std::string(16, 'q') + "\r\n1,ok\r\n");
    const CheckOutcome out = host.Check(memo, 1, 0);
    EXPECT_EQ(out.errors, 1);
    ASSERT_EQ(out.failures.size(), 1u);
    // 16 letters and CR LF against the 17 bytes of version 1 at level L.
    EXPECT_EQ(out.failures[0].group, 2);
    EXPECT_EQ(out.failures[0].reason, GroupFailure::DataTooLong);
    EXPECT_EQ(out.failures[0].dataBytes, 18);
    EXPECT_EQ(out.failures[0].capacityBytes, 17);
}

TEST(GenerationCheck, SymbolHoldsTheLineTextsWithTildesAndTabs) {
    Host host;
    const MemoLines memo = Imported("1,a~b\tc\r\n2\r\n3,\r\n");
    ASSERT_TRUE(host.Check(memo, 3, 0).Passed());
    // The report's picture of the symbol and the control's, which the check left holding it.
    for (const QImage& picture : {SymbolImage(host.symbols.Result(), kHostPictureSide),
                                  host.qr->Picture().Bitmap().ToQImage()}) {
        const auto decoded = test::DecodeImage(picture);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->bytes, "a~b\tc\r\n2\r\n\r\n");  // no comma: the whole line
    }
}

// The rows of a one-bit picture as the PDF stores them: the bytes that hold
// pixels, with the bits after the last pixel.
std::string StoredBits(const QImage& mono) {
    std::string bits;
    for (int y = 0; y < mono.height(); ++y)
        bits.append(reinterpret_cast<const char*>(mono.constScanLine(y)), static_cast<size_t>((mono.width() + 7) / 8));
    return bits;
}

// The report's picture of a group is the control's picture made one bit per
// pixel and cut to the symbol and its quiet zone, bit for bit, also where the
// symbol is larger than the picture; the read-backs agree with the control's.
TEST(GenerationCheck, GroupSymbolIsTheControlsPictureCutToTheSymbol) {
    Host host;
    struct Setting {
        int version, sizeIndex;
    };
    for (const Setting s : {Setting{1, 0}, Setting{7, 2}, Setting{20, 0}, Setting{25, 1}, Setting{26, 1},
                            Setting{9, 3}, Setting{40, 0}, Setting{40, 1}}) {
        SCOPED_TRACE(testing::Message() << "version " << s.version << ", size " << s.sizeIndex);
        EncodeGroup(*host.qr, "Tokyo ~~1~09~~0D0A~", s.version, s.sizeIndex);
        const SymbolResult& symbol = EncodeGroupData(host.symbols, "Tokyo ~1\t\r\n", s.version, s.sizeIndex);
        ASSERT_TRUE(symbol.made && host.qr->SymbolDisped());
        EXPECT_EQ(symbol.sidePixels, host.qr->SymbolWidthS());
        EXPECT_EQ(symbol.capacity, host.qr->Capacity());
        EXPECT_EQ(symbol.masktypeR, host.qr->MasktypeR());
        const QImage whole = host.qr->Picture().Bitmap().ToMonoQImage();
        const QImage expected = PicturePart(whole, InkRect(whole, host.qr->QuietZone()));
        const QImage image = SymbolImage(symbol, kHostPictureSide);
        EXPECT_EQ(image.size(), expected.size());
        EXPECT_EQ(image.colorTable(), expected.colorTable());
        EXPECT_EQ(StoredBits(image), StoredBits(expected));
        // A side that is no multiple of 8 leaves bits after each row's last pixel: white, as stored.
        const int padding = (8 - image.width() % 8) % 8;
        const int paddingBits = (1 << padding) - 1;
        for (int y = 0; y < image.height() && padding > 0; ++y)
            EXPECT_EQ(image.constScanLine(y)[image.width() / 8] & paddingBits, paddingBits) << "row " << y;
    }
}

TEST(GenerationCheck, EmptyViewChecksNothing) {
    Host host;
    const MemoLines memo;
    const CheckOutcome out = host.Check(memo, 20, 0);
    EXPECT_EQ(out.groups, 0);
    EXPECT_TRUE(out.Passed());
}

TEST(ReportForm, LayoutFollowsGroupsPerPage) {
    Host host;
    MemoLines memo;
    TQuickReport1 form(ReportSource{&memo, &host.symbols, [] { return 20; }, [] { return 0; }, {}, {}});
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
std::vector<test::Decoded> DecodeRowSymbols(const QString& pdf, const QString& dir, int pages) {
    QProcess p;
    p.start("pdftoppm", {"-r", "600", "-gray", "-png", pdf, dir + "/page"});
    p.waitForFinished(120000);
    std::vector<test::Decoded> rows;
    for (int page = 1; page <= pages; ++page) {
        QImage image(dir + QString("/page-%1.png").arg(page));
        if (image.isNull()) image.load(dir + QString("/page-%1.png").arg(page, 2, 10, QChar('0')));
        // Each row is a band of the detail height under the 17.67 mm header area.
        const double pxPerMm = 600 / 25.4;
        const int top = static_cast<int>((10 + 7.673) * pxPerMm);
        const int rowHeight = static_cast<int>(125 * 600 / 96);  // the 125-pixel detail band
        for (int y = top; y + rowHeight <= image.height(); y += rowHeight) {
            const auto d = test::DecodeImage(image.copy(image.width() / 2, y, image.width() / 2, rowHeight));
            if (d) rows.push_back(*d);
        }
    }
    return rows;
}

std::vector<std::string> DecodeRows(const QString& pdf, const QString& dir, int pages) {
    std::vector<std::string> rows;
    for (const test::Decoded& d : DecodeRowSymbols(pdf, dir, pages)) rows.push_back(d.bytes);
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
    ASSERT_TRUE(host.Check(memo, 20, 0).Passed());
    int generations = 0;
    TQuickReport1 form(ReportSource{&memo, &host.symbols, [] { return 20; }, [] { return 0; },
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

// The line of the PDF's text that holds `token`; empty when none does.
std::string LineWith(const std::string& text, const std::string& token) {
    const size_t at = text.find(token);
    if (at == std::string::npos) return {};
    const size_t start = text.rfind('\n', at) + 1;
    return text.substr(start, text.find('\n', at) - start);
}

// A page generated alone (as the preview shows it) holds the rows of that
// page of the whole report: the form skips to the page's first group.
TEST(ReportForm, PageAloneHoldsTheRowsOfThatPageOfTheWholeReport) {
    Host host;
    std::string file;
    for (int g = 1; g <= 19; ++g)
        for (int line = 1; line <= 1 + g % 3; ++line)
            file += std::to_string(line) + ",G" + std::to_string(g) + " L" + std::to_string(line) + "\r\n";
    const MemoLines memo = Imported(file);
    ASSERT_TRUE(host.Check(memo, 20, 0).Passed());
    TQuickReport1 form(ReportSource{&memo, &host.symbols, [] { return 20; }, [] { return 0; },
                                    [] { return std::string("T"); }, {}});
    form.LastLine = static_cast<int>(memo.Count()) - 1;
    form.Arrange(10, 8);
    EXPECT_EQ(form.RecordCount(), 19);
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("whole"));
    ASSERT_TRUE(form.ExportToPdf(dir.path() + "/whole.pdf"));
    const std::vector<std::string> whole = DecodeRows(dir.path() + "/whole.pdf", dir.path() + "/whole", 3);
    ASSERT_EQ(whole.size(), 19u);
    for (const int page : {3, 1, 2}) {
        SCOPED_TRACE(page);
        const QString pdf = dir.path() + "/alone.pdf";
        {
            QPdfWriter writer(pdf);
            writer.setResolution(TQuickRep::kPdfResolution);
            ASSERT_TRUE(form.PrintPage(writer, page));
        }
        EXPECT_EQ(DecodeRows(pdf, dir.path(), 1),
                  std::vector<std::string>(whole.begin() + (page - 1) * 8, whole.begin() + std::min(page * 8, 19)));
        EXPECT_NE(LineWith(PdfText(pdf), "P-").find(std::to_string(page)), std::string::npos);
    }
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

// The check's overflow warning and the PDF agree: a group it names shows
// exactly its first lines, the last of them ending with "…", and nothing of
// the next; a group it does not name shows every line and no mark.
TEST(ReportForm, RowsCutWhereTheCheckSaysAndMarkTheCut) {
    struct Setting {
        int perPage, fontSize;
    };
    for (const Setting setting : {Setting{8, 10}, Setting{20, 12}, Setting{4, 9}, Setting{1, 20}}) {
        Host host;
        const std::vector<int> lineCounts = {1, 2, 3, 5, 8, 9, 10, 13, 21, 34, 60};
        std::string file;
        for (size_t g = 0; g < lineCounts.size(); ++g)
            for (int line = 1; line <= lineCounts[g]; ++line)
                file += std::to_string(line) + ",G" + std::to_string(g + 1) + "/L" + std::to_string(line) + "/\r\n";
        file += "1," + std::string(2900, 'w') + "\r\n";  // one line, wrapped far beyond any row
        const MemoLines memo = Imported(file);
        const RowTextFit rows(setting.fontSize, setting.perPage);
        const CheckOutcome out = host.Check(memo, 40, 0, &rows);
        ASSERT_TRUE(out.Passed());
        ASSERT_FALSE(out.overflows.empty()) << setting.perPage;
        EXPECT_EQ(out.overflows.back().group, static_cast<int>(lineCounts.size()) + 1);

        TQuickReport1 form(ReportSource{&memo, &host.symbols, [] { return 40; }, [] { return 0; },
                                        [] { return std::string("T"); }, {}});
        form.LastLine = static_cast<int>(memo.Count()) - 1;
        form.Arrange(setting.fontSize, setting.perPage);
        QTemporaryDir dir;
        const QString pdf = dir.path() + "/rows.pdf";
        ASSERT_TRUE(form.ExportToPdf(pdf));
        const std::string text = PdfText(pdf);
        for (size_t g = 0; g < lineCounts.size(); ++g) {
            const int group = static_cast<int>(g) + 1;
            auto overflow = std::find_if(out.overflows.begin(), out.overflows.end(),
                                         [&](const RowOverflow& o) { return o.group == group; });
            const int shown = overflow == out.overflows.end() ? lineCounts[g] : overflow->shownLines;
            ASSERT_LE(shown, lineCounts[g]);
            const auto token = [&](int line) {
                std::string t = "G";  // appended piece by piece: GCC 12 misreads a chain of + here (-Wrestrict)
                t += std::to_string(group);
                t += "/L";
                t += std::to_string(line);
                return t += "/";
            };
            for (int line = 1; line <= shown; ++line) {
                const std::string found = LineWith(text, token(line));
                ASSERT_FALSE(found.empty()) << token(line) << " per page " << setting.perPage;
                const bool marked = found.find("…") != std::string::npos;
                EXPECT_EQ(marked, overflow != out.overflows.end() && line == shown) << found;
            }
            if (overflow != out.overflows.end()) {
                EXPECT_LT(shown, lineCounts[g]);
                EXPECT_TRUE(LineWith(text, token(shown + 1)).empty()) << "half line of group " << group;
            }
        }
        EXPECT_NE(LineWith(text, "wwww…"), "") << setting.perPage;
    }
}

TEST(GenerationCheck, FailuresSayWhyAndNameTheFirstGroups) {
    Host host;
    const MemoLines memo = Imported("1,a\r\n1,b\r\n1,c\r\n1,d\r\n1,e\r\n");
    const CheckOutcome wide = host.Check(memo, 26, 1);
    ASSERT_EQ(wide.failures.size(), 5u);
    EXPECT_EQ(wide.failures[4].group, 5);
    EXPECT_EQ(wide.failures[0].reason, GroupFailure::SymbolTooWide);
    EXPECT_EQ(wide.failures[0].symbolPixels, 258);
    const std::string text = FailureText(wide, 26, 2);
    EXPECT_NE(text.find("5 グループ中 5 グループ"), std::string::npos) << text;
    EXPECT_NE(text.find("グループ 3（シンボル 258 ピクセルが 256 ピクセルの画像より大きい、バージョン 26・2倍角サイズ）"),
              std::string::npos) << text;
    EXPECT_EQ(text.find("グループ 4"), std::string::npos) << text;
    EXPECT_NE(text.find("ほか 2 グループ"), std::string::npos) << text;

    // Too wide beats too long: the text could never help.
    const MemoLines longOne = Imported("1,a\r\n1," + std::string(300, 'q') + "\r\n");
    const CheckOutcome both = host.Check(longOne, 10, 3);
    ASSERT_EQ(both.failures.size(), 2u);
    EXPECT_EQ(both.failures[1].reason, GroupFailure::SymbolTooWide);
    // At version 9 the long one alone fails, by 302 - 230 bytes.
    const CheckOutcome data = host.Check(longOne, 9, 3);
    ASSERT_EQ(data.failures.size(), 1u);
    EXPECT_EQ(data.failures[0].group, 2);
    EXPECT_NE(FailureText(data, 9, 4).find("グループ 2（データ 302 バイトがバージョン 9 の容量 230 バイトを 72 バイト超えている）"),
              std::string::npos) << FailureText(data, 9, 4);
    EXPECT_TRUE(FailureText(host.Check(longOne, 20, 0), 20, 1).empty());
}

// At each level the check holds exactly that level's byte capacity (a line
// of n - 2 bytes and its CR LF), the capacity read-out follows it, and the
// report's symbols carry the level.
TEST(ReportJob, LevelSetsTheCapacityTheCheckAndTheSymbols) {
    for (int level : {1, 2, 3}) {
        SCOPED_TRACE(level);
        const int bytes = SymbolParameters[5].Levels[level].Capacity[kModeByte];
        ReportSettings settings;
        settings.version = 5;
        settings.level = level;
        for (int extra : {0, 1}) {
            const MemoLines memo = Imported("1," + std::string(static_cast<size_t>(bytes - 2 + extra), 'a') + "\r\n");
            SymbolEncoder symbols;
            const CheckResult result = ReportJob(memo, symbols).Check(settings);
            EXPECT_EQ(result.Passed(), extra == 0);
            if (extra == 0) {
                EXPECT_EQ(result.outcome.capacity, bytes);
            } else {
                EXPECT_NE(result.failureText.find(std::string("誤り訂正レベル ") + kLevelNames[level]), std::string::npos);
            }
        }
        const MemoLines memo = Imported("1,Level\r\n2,Test\r\n");
        SymbolEncoder symbols;
        const auto form = ReportJob(memo, symbols).Form(settings);
        QTemporaryDir dir;
        const QString pdf = dir.path() + "/level.pdf";
        ASSERT_TRUE(form->ExportToPdf(pdf));
        const auto rows = DecodeRowSymbols(pdf, dir.path(), 1);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].bytes, "Level\r\nTest\r\n");
        EXPECT_EQ(rows[0].ecLevel, std::string(1, kLevelNames[level]));
    }
}

// Mixed words that the automatic rule cuts into one segment each: the check
// fails and says that the smallest encoding fits; with it, the group passes
// and reads back whole.
TEST(ReportJob, SmallestEncodingIsSuggestedAndFits) {
    std::string file;
    std::string data;
    for (int i = 1; i <= 35; ++i) file += std::to_string(i) + ",Osaka branch, sales\r\n", data += "Osaka branch, sales\r\n";
    const MemoLines memo = Imported(file);
    SymbolEncoder symbols;
    ReportSettings settings;
    const CheckResult automatic = ReportJob(memo, symbols).Check(settings);
    EXPECT_FALSE(automatic.Passed());
    EXPECT_NE(automatic.failureText.find("最小符号化にすると収まります"), std::string::npos) << automatic.failureText;
    settings.optimal = true;
    const CheckResult smallest = ReportJob(memo, symbols).Check(settings);
    EXPECT_TRUE(smallest.Passed()) << smallest.failureText;
    const auto form = ReportJob(memo, symbols).Form(settings);
    QTemporaryDir dir;
    const QString pdf = dir.path() + "/smallest.pdf";
    ASSERT_TRUE(form->ExportToPdf(pdf));
    EXPECT_EQ(DecodeRows(pdf, dir.path(), 1), std::vector<std::string>{data});
}

TEST(ReportForm, EmptyViewGivesAHeaderOnly) {
    Host host;
    const MemoLines memo;
    TQuickReport1 form(ReportSource{&memo, &host.symbols, [] { return 20; }, [] { return 0; }, [] { return std::string(); }, {}});
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
