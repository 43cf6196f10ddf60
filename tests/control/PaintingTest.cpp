// PaintSymbol: module rectangles, background, grid, picture size, failures,
// ClearOption, SymbolDebug, Transparent and the metafile picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <variant>
#include <vector>

#include "ControlTestSupport.h"

namespace mosaiko {
namespace {

using test::AllPixels;
using test::PictureImage;

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kRed = 0xFFFF0000;

std::vector<TMetaFillRect> Fills(const TMetafile& metafile) {
    std::vector<TMetaFillRect> fills;
    for (const TMetafileRecord& record : metafile.Records())
        if (const auto* fill = std::get_if<TMetaFillRect>(&record)) fills.push_back(*fill);
    return fills;
}

// Dark runs of the symbol last built, counted from its module matrix.
int DarkRuns(const QrDriver& driver) {
    int runs = 0;
    const int n = driver.Encoder().ModulesPerSide();
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c)
            if (driver.Encoder().ModuleIsDark(r, c) && (c == 0 || !driver.Encoder().ModuleIsDark(r, c - 1))) ++runs;
    return runs;
}

void PaintRed(TQRCode& q) {
    q.Canvas().Brush().SetColor(clRed);
    q.Canvas().FillRect(0, 0, q.Width(), q.Height());
}

// A code of three 20-byte pieces: digits, lower-case letters (too many for
// version 1-L in byte mode), digits.
std::string SecondPieceTooLong() { return "12345678901234567890abcdefghijklmnopqrst09876543210987654321"; }

TEST(Painting, FirstRowOfTheFinderIsOneRectangle) {
    TQRCode q;
    q.SetSymbolEnabled(false);
    q.SetCode("HELLO");
    q.SetPxmag(2);
    q.SetSymbolLeft(10);
    q.SetSymbolTop(5);
    q.SetSymbolEnabled(true);
    const QImage image = PictureImage(q);
    EXPECT_TRUE(AllPixels(image, QRect(18, 13, 14, 2), kBlack));
    EXPECT_TRUE(AllPixels(image, QRect(10, 5, 58, 8), kWhite));   // quiet zone above
    EXPECT_TRUE(AllPixels(image, QRect(10, 13, 8, 42), kWhite));  // quiet zone left
    EXPECT_EQ(image.pixel(32, 13), kWhite);                        // the separator

    // The same run recorded in a metafile: background, then one fill per run.
    q.SetMatch(true);
    q.SetSymbolPicture(picEMF);
    ASSERT_NE(q.Picture().AsMetafile(), nullptr);
    const std::vector<TMetaFillRect> fills = Fills(*q.Picture().AsMetafile());
    ASSERT_GE(fills.size(), 2u);
    EXPECT_EQ(fills[1], (TMetaFillRect{18, 13, 32, 15}));
    EXPECT_EQ(static_cast<int>(fills.size()), 1 + DarkRuns(q.Driver()));
}

TEST(Painting, BackgroundCoversTheBlockOnlyWithoutMatch) {
    TQRCode q;
    q.SetSymbolEnabled(false);
    q.SetCode("HELLO");
    q.SetSymbolLeft(20);
    q.SetSymbolTop(30);
    PaintRed(q);
    q.SetSymbolEnabled(true);
    QImage image = PictureImage(q);
    EXPECT_EQ(image.size(), QSize(105, 105));  // the picture keeps its size
    EXPECT_TRUE(AllPixels(image, QRect(0, 0, 105, 30), kRed));
    EXPECT_TRUE(AllPixels(image, QRect(0, 0, 20, 105), kRed));
    EXPECT_TRUE(AllPixels(image, QRect(49, 0, 56, 105), kRed));
    EXPECT_TRUE(AllPixels(image, QRect(20, 30, 29, 4), kWhite));

    // With Match the picture is cut to the block and filled from its corner.
    PaintRed(q);
    q.SetMatch(true);
    image = PictureImage(q);
    EXPECT_EQ(image.size(), QSize(49, 59));
    EXPECT_EQ(q.Width(), 49);
    EXPECT_EQ(q.Height(), 59);
    EXPECT_TRUE(AllPixels(image, QRect(0, 0, 49, 30), kWhite));
}

// Every pixel of the picture at magnifications 1 to 4, opaque and
// transparent, with the symbol reaching past the top-left and past the
// bottom-right corner of the picture: a dark module's pixels are black, a
// light one's are what lay under it (the background, or the red painted
// before when transparent).
TEST(Painting, EveryModulePixelShowsItsModuleClippedAtTheEdges) {
    for (int pxmag = 1; pxmag <= 4; ++pxmag)
        for (bool transparent : {false, true})
            for (const QPoint corner : {QPoint(-12, -10), QPoint(85, 88)}) {
                TQRCode q;
                q.SetSymbolEnabled(false);
                q.SetCode("HELLO");
                q.SetPxmag(pxmag);
                q.SetTransparent(transparent);
                q.SetSymbolLeft(corner.x());
                q.SetSymbolTop(corner.y());
                PaintRed(q);
                q.SetSymbolEnabled(true);
                const QImage image = PictureImage(q);
                const QrEncoder& symbol = q.Driver().Encoder();
                const int n = symbol.ModulesPerSide();
                const QPoint origin = corner + QPoint(q.QuietZone(), q.QuietZone());
                for (int y = std::max(origin.y(), 0); y < std::min(origin.y() + n * pxmag, image.height()); ++y)
                    for (int x = std::max(origin.x(), 0); x < std::min(origin.x() + n * pxmag, image.width()); ++x) {
                        const bool dark = symbol.ModuleIsDark((y - origin.y()) / pxmag, (x - origin.x()) / pxmag);
                        ASSERT_EQ(image.pixel(x, y), dark ? kBlack : transparent ? kRed : kWhite)
                            << "Pxmag " << pxmag << (transparent ? ", transparent" : "") << ", pixel " << x << ","
                            << y;
                    }
            }
}

TEST(Painting, FailingSecondSymbolLeavesTheFirstPainted) {
    TQRCode q;
    q.SetSymbolEnabled(false);
    q.SetCode(SecondPieceTooLong());
    q.SetMode(qrPlus);
    q.SetCount(3);
    q.SetSymbolEnabled(true);
    EXPECT_FALSE(q.SymbolDisped());
    EXPECT_EQ(q.Driver().Encoder().CurrentSymbol(), 2);  // the third was not attempted
    const QImage image = PictureImage(q);
    EXPECT_EQ(image.pixel(4, 4), kBlack);
    EXPECT_TRUE(AllPixels(image, QRect(29, 0, 29, 29), kWhite));
    // The whole block was filled with the background at the first symbol.
    EXPECT_TRUE(AllPixels(image, QRect(58, 0, 29, 29), kWhite));

    // ClearOption switched on after the failure clears at once; later failed
    // runs clear too, unless they only encode (SymbolDebug).
    q.SetClearOption(true);
    EXPECT_FALSE(q.Picture().HasGraphic());
    q.SetCode("HELLO");
    const QImage painted = PictureImage(q);
    q.SetSymbolDebug(true);
    q.SetCode(test::SampleText(200));
    EXPECT_FALSE(q.SymbolDisped());
    EXPECT_EQ(PictureImage(q), painted);
    q.SetSymbolDebug(false);
    q.SetCode(test::SampleText(200));
    EXPECT_FALSE(q.Picture().HasGraphic());
}

TEST(Painting, SymbolDebugEncodesWithoutDrawing) {
    TQRCode q;
    q.SetCode("HELLO");
    q.SetAngle(90);
    const QImage before = PictureImage(q);
    const QSize size = q.size();
    q.SetSymbolDebug(true);
    q.SetCode("ANOTHER TEXT");
    EXPECT_TRUE(q.SymbolDisped());
    EXPECT_EQ(PictureImage(q), before);  // turned back and forth only
    EXPECT_EQ(q.size(), size);

    q.SetMatch(true);
    q.SetSymbolPicture(picEMF);
    EXPECT_TRUE(q.SymbolDisped());
    EXPECT_NE(q.Picture().AsBitmap(), nullptr);  // nothing was recorded
}

TEST(Painting, TransparentKeepsWhatLiesUnderLightModules) {
    TQRCode q;
    q.SetSymbolEnabled(false);
    q.SetCode("HELLO");
    q.SetTransparent(true);
    q.SetBackColor(clYellow);
    q.SetSymbolSpaceDown(30);
    q.SetCommentDown("AB");
    PaintRed(q);
    q.SetSymbolEnabled(true);
    const QImage image = PictureImage(q);
    EXPECT_TRUE(AllPixels(image, QRect(0, 0, 29, 4), kRed));  // quiet zone
    EXPECT_EQ(image.pixel(4, 4), kBlack);
    EXPECT_EQ(image.pixel(5, 5), kRed);  // light module inside the finder

    // The comment's text cell is still painted in BackColor.
    TBitmap scratch(1, 1);
    TBitmapCanvas canvas(scratch);
    canvas.Font().Assign(q.ComFont());
    const QSize extent = canvas.TextExtent("AB");
    const QRect cell(0, 29 + 30 - extent.height(), extent.width(), extent.height());
    int yellow = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x) {
            EXPECT_NE(image.pixel(x, y), kRed) << x << "," << y;
            yellow += image.pixel(x, y) == 0xFFFFFF00;
        }
    EXPECT_GT(yellow, 0);
}

TEST(Painting, MetafileWithMatchIsOnePixelLargerThanTheBlock) {
    TQRCode q;
    q.SetSymbolEnabled(false);
    q.SetCode(test::SampleText(30));
    q.SetMode(qrPlus);
    q.SetCount(3);
    q.SetSymbolLeft(7);
    q.SetSymbolTop(3);
    q.SetMatch(true);
    q.SetSymbolPicture(picEMF);
    q.SetSymbolEnabled(true);
    ASSERT_TRUE(q.SymbolDisped());
    const TMetafile* metafile = q.Picture().AsMetafile();
    ASSERT_NE(metafile, nullptr);
    EXPECT_FALSE(metafile->Empty());
    EXPECT_EQ(metafile->Width(), q.SymbolWidthA() + 7 + 1);
    EXPECT_EQ(metafile->Height(), q.SymbolHeightA() + 3 + 1);
    EXPECT_EQ(q.size(), QSize(q.SymbolWidthA() + 7, q.SymbolHeightA() + 3));

    // Metafiles are not turned.
    q.SetAngle(90);
    ASSERT_NE(q.Picture().AsMetafile(), nullptr);
    EXPECT_EQ(q.Picture().Width(), q.SymbolWidthA() + 7 + 1);
}

TEST(Painting, MetafileRunThatStopsKeepsWhatWasRecorded) {
    TQRCode q;
    q.SetSymbolEnabled(false);
    q.SetCode(SecondPieceTooLong());
    q.SetMode(qrPlus);
    q.SetCount(3);
    q.SetMatch(true);
    q.SetSymbolPicture(picEMF);
    q.SetSymbolEnabled(true);
    EXPECT_FALSE(q.SymbolDisped());
    const TMetafile* metafile = q.Picture().AsMetafile();
    ASSERT_NE(metafile, nullptr);
    EXPECT_FALSE(metafile->Empty());  // closed with the first symbol in it
    EXPECT_EQ(metafile->Width(), 3 * 29);  // not enlarged: the run did not finish
    const QImage image = PictureImage(q);
    EXPECT_EQ(image.pixel(4, 4), kBlack);
    EXPECT_TRUE(AllPixels(image, QRect(29, 0, 58, 29), kWhite));

    // When the first symbol fails nothing is recorded: the picture stays the
    // bitmap prepared for the run.
    q.SetCode(test::SampleText(200));
    EXPECT_FALSE(q.SymbolDisped());
    EXPECT_NE(q.Picture().AsBitmap(), nullptr);
}

TEST(Painting, PictureOfAnotherKindBecomesABitmapOfTheControlSize) {
    TQRCode q;
    q.SetSymbolEnabled(false);
    q.SetCode("HELLO");
    q.Picture().AssignMetafile(TMetafile(10, 10));
    q.SetWidth(60);
    q.SetHeight(40);
    q.SetSymbolEnabled(true);
    ASSERT_NE(q.Picture().AsBitmap(), nullptr);
    EXPECT_EQ(q.Picture().Width(), 60);
    EXPECT_EQ(q.Picture().Height(), 40);
}

}  // namespace
}  // namespace mosaiko
