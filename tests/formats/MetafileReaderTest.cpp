// The written EMF, WMF and SVG read by real programs: LibreOffice (EMF and
// WMF to PNG and PDF), libwmf (wmf2svg) and librsvg (rsvg-convert). The QR
// symbol in what they render must decode with zxing-cpp to the input, and the
// comment must come back as text. A test is skipped when its program is missing.
#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>
#include <cmath>

#include "EmfWriter.h"
#include "FormatsTestSupport.h"
#include "MetafileCanvas.h"
#include "ShiftJis.h"
#include "SvgWriter.h"
#include "TestSupport.h"
#include "WmfWriter.h"

namespace mosaiko {
namespace {

using namespace test;

const std::string kData = "https://example.com/mosaiko?q=QR-123";
const char* const kCommentUtf8 = "Comment 日本語 ｶﾅ";

// A red 100 x 60 picture with black vertical lines of 1 and 2 pixels: the
// reader's idea of the picture's size and of the fills' edges.
TMetafile SizeProbe() {
    TMetafile m(100, 60);
    TMetafileCanvas c(m);
    c.Brush().SetColor(clRed);
    c.FillRect(0, 0, 100, 60);
    c.Brush().SetColor(clBlack);
    c.FillRect(10, 10, 11, 50);
    c.FillRect(20, 10, 22, 50);
    c.Close();
    return m;
}

class MetafileReaders : public testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new QTemporaryDir;
        const TMetafile symbol = RecordedSymbol(kData, Sjis(kCommentUtf8));
        const TMetafile probe = SizeProbe();
        WriteFile(Path("symbol.emf"), WriteEmf(symbol));
        WriteFile(Path("symbolw.wmf"), WriteWmf(symbol));
        WriteFile(Path("symbol.svg"), WriteSvg(symbol));
        WriteFile(Path("probe.emf"), WriteEmf(probe));
        WriteFile(Path("probew.wmf"), WriteWmf(probe));
        if (HasProgram("soffice")) ConvertWithLibreOffice();
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }

    // One LibreOffice run per target format, with a profile of its own so that
    // another running instance is not asked to do the work.
    static void ConvertWithLibreOffice() {
        const QString profile = QStringLiteral("-env:UserInstallation=file://") + Path("profile");
        for (const char* format : {"png", "pdf"}) {
            RunProgram("soffice", {profile, "--headless", "--convert-to", format, "--outdir", Path(format),
                                   Path("symbol.emf"), Path("symbolw.wmf"), Path("probe.emf"), Path("probew.wmf")});
        }
    }

    static QString Path(const QString& name) { return dir_->filePath(name); }

    static QTemporaryDir* dir_;
};

QTemporaryDir* MetafileReaders::dir_ = nullptr;

#define REQUIRE_PROGRAM(name) \
    if (!HasProgram(name)) GTEST_SKIP() << name " is not installed"

// Width of what is not white along row y, and of what is black inside it,
// counting partly covered pixels by their coverage (red: green channel 0,
// black: red channel 0 as well).
struct RowCoverage {
    double painted = 0, black = 0;
};
RowCoverage CoverageOfRow(const QImage& image, int y) {
    RowCoverage c;
    for (int x = 0; x < image.width(); ++x) {
        const QRgb p = image.pixel(x, y);
        c.painted += 1.0 - qGreen(p) / 255.0;
        if (qGreen(p) < 250) c.black += 1.0 - qRed(p) / 255.0;
    }
    return c;
}
double PaintedHeightOfColumn(const QImage& image, int x) {
    double h = 0;
    for (int y = 0; y < image.height(); ++y) h += 1.0 - qGreen(image.pixel(x, y)) / 255.0;
    return h;
}

TEST_F(MetafileReaders, LibreOfficeRendersTheSymbolOfEmfAndWmf) {
    REQUIRE_PROGRAM("soffice");
    for (const char* name : {"png/symbol.png", "png/symbolw.png"}) {
        const QImage page(Path(name));
        ASSERT_FALSE(page.isNull()) << name;
        EXPECT_EQ(DecodeQr(page), kData) << name;
    }
}

TEST_F(MetafileReaders, LibreOfficeSizesThePictureAt96DpiWithExactFillEdges) {
    REQUIRE_PROGRAM("soffice");
    for (const char* name : {"png/probe.png", "png/probew.png"}) {
        // The page is exported at 96 dpi with the picture somewhere on it.
        const QImage page = QImage(Path(name)).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(page.isNull()) << name;
        int row = -1, column = -1;
        for (int y = 0; y < page.height() && row < 0; ++y)
            for (int x = 0; x < page.width(); ++x)
                if (page.pixel(x, y) == qRgb(255, 0, 0)) {
                    row = y + 30;  // through the lines
                    column = x + 3;  // left of them
                    break;
                }
        ASSERT_GE(row, 0) << name;
        const RowCoverage c = CoverageOfRow(page, row);
        EXPECT_NEAR(c.painted, 100.0, 0.2) << name;
        EXPECT_NEAR(c.black, 3.0, 0.2) << name;  // 1 + 2 pixels: right edges exclusive
        EXPECT_NEAR(PaintedHeightOfColumn(page, column), 60.0, 0.2) << name;
    }
}

TEST_F(MetafileReaders, LibreOfficeKeepsTheCommentAsText) {
    REQUIRE_PROGRAM("soffice");
    REQUIRE_PROGRAM("pdftotext");
    for (const char* name : {"pdf/symbol.pdf", "pdf/symbolw.pdf"}) {
        const auto text = RunProgram("pdftotext", {Path(name), "-"});
        ASSERT_TRUE(text) << name;
        EXPECT_TRUE(QString::fromUtf8(*text).contains(QString::fromUtf8(kCommentUtf8))) << text->toStdString();
    }
}

// libwmf draws a text byte by byte at the advances of the record and writes
// the bytes as they are, so the comment is the Shift-JIS bytes of the <text>
// elements in order.
TEST_F(MetafileReaders, LibwmfDrawsTheWmfSymbolAndComment) {
    REQUIRE_PROGRAM("wmf2svg");
    REQUIRE_PROGRAM("rsvg-convert");
    ASSERT_TRUE(RunProgram("wmf2svg", {"-o", Path("libwmf.svg"), Path("symbolw.wmf")}));
    const QByteArray svg = ReadFile(Path("libwmf.svg"));
    std::string comment;
    const QRegularExpression text(QStringLiteral("<text[^>]*>(.*?)</text>"),
                                  QRegularExpression::DotMatchesEverythingOption);
    const QString latin1 = QString::fromLatin1(svg);  // byte for byte
    for (auto m = text.globalMatch(latin1); m.hasNext();) comment += m.next().captured(1).toLatin1().toStdString();
    EXPECT_EQ(comment, Sjis(kCommentUtf8));

    // Without the undeclared Shift-JIS text the SVG is plain XML to rasterise.
    QString shapes = latin1;
    shapes.remove(text);
    WriteFile(Path("libwmf-shapes.svg"), shapes.toLatin1().toStdString());
    ASSERT_TRUE(RunProgram("rsvg-convert", {"-o", Path("libwmf.png"), Path("libwmf-shapes.svg")}));
    EXPECT_EQ(DecodeQr(QImage(Path("libwmf.png"))), kData);
}

// Our SVG rasterised by librsvg: the fills land on the same pixels as our own
// replay, and the comment is there in UTF-8.
TEST_F(MetafileReaders, LibrsvgRendersOurSvgPixelExact) {
    REQUIRE_PROGRAM("rsvg-convert");
    const TMetafile symbol = RecordedSymbol(kData, Sjis(kCommentUtf8));
    ASSERT_TRUE(RunProgram("rsvg-convert", {"-o", Path("ours.png"), Path("symbol.svg")}));
    const QImage rendered = QImage(Path("ours.png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(rendered.size(), QSize(symbol.Width(), symbol.Height()));
    const QImage replay = symbol.ToQImage();
    const int symbolSide = symbol.Width();  // the square above the comment
    EXPECT_EQ(rendered.copy(0, 0, symbolSide, symbolSide), replay.copy(0, 0, symbolSide, symbolSide));
    EXPECT_EQ(DecodeQr(rendered), kData);
    EXPECT_TRUE(QString::fromUtf8(ReadFile(Path("symbol.svg"))).contains(QString::fromUtf8(kCommentUtf8)));
}

}  // namespace
}  // namespace mosaiko
