// Recording through TMetafileCanvas, the record list a writer reads, and
// replay compared with drawing the same on a bitmap.
#include <gtest/gtest.h>

#include <functional>
#include <numeric>

#include "BitmapCanvas.h"
#include "Exception.h"
#include "MetafileCanvas.h"
#include "ShiftJis.h"
#include "TestSupport.h"

namespace mosaiko {
namespace {

using test::Sjis;

// A painter's sequence: background, module runs in two colours, a comment.
void DrawScene(TCanvas& c, bool withText) {
    c.Brush().SetColor(clWhite);
    c.Brush().SetStyle(bsSolid);
    c.FillRect(0, 0, 64, 48);
    c.Brush().SetColor(clBlack);
    c.FillRect(3, 3, 17, 5);
    c.FillRect(20, 3, 22, 41);
    c.Brush().SetColor(RGBColor(10, 120, 200));
    c.FillRect(30, 10, 63, 47);
    c.Brush().SetStyle(bsClear);
    c.FillRect(0, 0, 64, 48);  // nothing
    if (withText) {
        c.Brush().SetStyle(bsSolid);
        c.Brush().SetColor(clYellow);
        c.Font().SetHeight(14);
        c.Font().SetColor(clBlue);
        c.TextOut(2, 20, Sjis("日本語 QR"));
    }
}

QImage DrawnOnBitmap(bool withText) {
    TBitmap b(64, 48);
    TBitmapCanvas c(b);
    DrawScene(c, withText);
    return b.ToQImage();
}

TMetafile Recorded(bool withText) {
    TMetafile m(64, 48);
    TMetafileCanvas c(m);
    DrawScene(c, withText);
    c.Close();
    return m;
}

TEST(Metafile, ReplayOfRectanglesEqualsTheBitmapExactly) {
    EXPECT_EQ(Recorded(false).ToQImage(), DrawnOnBitmap(false));
}

TEST(Metafile, ReplayOfTextEqualsTheBitmap) {
    EXPECT_EQ(Recorded(true).ToQImage(), DrawnOnBitmap(true));
}

TEST(Metafile, ReplayScalesToTheTargetRectangle) {
    TMetafile m(10, 10);
    {
        TMetafileCanvas c(m);
        c.Brush().SetColor(clBlack);
        c.FillRect(1, 2, 3, 5);
    }
    const QImage image = m.ToQImage(2.0);
    ASSERT_EQ(image.size(), QSize(20, 20));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inside = x >= 2 && x < 6 && y >= 4 && y < 10;
            ASSERT_EQ(image.pixel(x, y), inside ? qRgb(0, 0, 0) : qRgb(255, 255, 255)) << x << "," << y;
        }
}

TEST(Metafile, IsEmptyUntilTheCanvasIsClosed) {
    TMetafile m(30, 20);
    TMetafileCanvas c(m);
    c.FillRect(0, 0, 5, 5);
    EXPECT_TRUE(m.Empty());
    EXPECT_TRUE(m.Records().empty());
    c.Close();
    EXPECT_FALSE(m.Empty());
    EXPECT_FALSE(m.Records().empty());
    EXPECT_THROW(c.FillRect(0, 0, 1, 1), Exception);
}

TEST(Metafile, DestroyingAnOpenCanvasCompletesTheMetafile) {
    TMetafile m(30, 20);
    int changes = 0;
    m.SetOnChange([&] { ++changes; });
    { TMetafileCanvas c(m); }
    EXPECT_FALSE(m.Empty());
    EXPECT_EQ(changes, 1);
}

TEST(Metafile, SizeOfAnUnsizedMetafileComesFromTheDrawing) {
    TMetafile m;
    TMetafileCanvas c(m);
    c.Brush().SetColor(clBlack);
    c.FillRect(5, 6, 25, 16);
    c.Close();
    EXPECT_EQ(m.Width(), 25);
    EXPECT_EQ(m.Height(), 16);
    EXPECT_EQ(m.Bounds(), QRect(5, 6, 20, 10));
}

TEST(Metafile, EnlargingByOnePixelKeepsTheDrawing) {
    TMetafile m = Recorded(false);
    const auto records = m.Records();
    m.SetWidth(m.Width() + 1);
    m.SetHeight(m.Height() + 1);
    EXPECT_EQ(m.Width(), 65);
    EXPECT_EQ(m.Height(), 49);
    EXPECT_EQ(m.Records(), records);
    const QImage image = m.ToQImage();
    EXPECT_EQ(image.size(), QSize(65, 49));
    EXPECT_EQ(image.copy(0, 0, 64, 48), DrawnOnBitmap(false));
}

TEST(Metafile, SizeInHundredthsOfAMillimetre) {
    TMetafile m(96, 48);
    EXPECT_EQ(m.MMWidth(), 2540);
    EXPECT_EQ(m.MMHeight(), 1270);
}

// What an EMF/WMF writer relies on: every drawing record is preceded by the
// selections in effect, with the values the canvas had.
TEST(Metafile, RecordsCarryTheStateInEffect) {
    TMetafile m(100, 40);
    TMetafileCanvas c(m);
    c.Brush().SetColor(clRed);
    c.FillRect(0, 0, 10, 10);
    c.FillRect(10, 0, 20, 10);
    c.Font().SetName("ＭＳ 明朝");
    c.Font().SetHeight(20);
    c.Font().SetStyle(fsItalic);
    c.Font().SetColor(clBlue);
    const std::string text = Sjis("日本");
    const QSize extent = c.TextExtent(text);
    c.TextOut(7, 9, text);
    c.Close();

    TMetaSelectBrush brush;
    TMetaFont font;
    TColor textColor = 0xFFFFFFFF, bkColor = 0xFFFFFFFF;
    bool opaque = false;
    std::vector<TMetaFillRect> fills;
    std::vector<TMetaTextOut> texts;
    int brushSelections = 0;
    for (const TMetafileRecord& r : m.Records()) {
        if (auto* b = std::get_if<TMetaSelectBrush>(&r)) brush = *b, ++brushSelections;
        if (auto* f = std::get_if<TMetaFillRect>(&r)) {
            EXPECT_EQ(brush.color, clRed);
            fills.push_back(*f);
        }
        if (auto* f = std::get_if<TMetaSelectFont>(&r)) font = f->font;
        if (auto* t = std::get_if<TMetaSetTextColor>(&r)) textColor = t->color;
        if (auto* t = std::get_if<TMetaSetBkColor>(&r)) bkColor = t->color;
        if (auto* t = std::get_if<TMetaSetBkMode>(&r)) opaque = t->opaque;
        if (auto* t = std::get_if<TMetaTextOut>(&r)) {
            EXPECT_EQ(font.name, QStringLiteral("ＭＳ 明朝"));
            EXPECT_EQ(font.height, 20);
            EXPECT_TRUE(font.italic);
            EXPECT_FALSE(font.bold);
            EXPECT_EQ(textColor, clBlue);
            EXPECT_TRUE(opaque);
            EXPECT_EQ(bkColor, clRed);
            texts.push_back(*t);
        }
    }
    EXPECT_EQ(brushSelections, 1);
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[1], (TMetaFillRect{10, 0, 20, 10}));
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].x, 7);
    EXPECT_EQ(texts[0].y, 9);
    EXPECT_EQ(texts[0].text, text);
    EXPECT_EQ(QSize(texts[0].width, texts[0].height), extent);
    ASSERT_EQ(texts[0].advances.size(), 2u);
    EXPECT_EQ(std::accumulate(texts[0].advances.begin(), texts[0].advances.end(), 0), extent.width());
}

TEST(MetafileCanvas, SeveralRectanglesInOneCallAreRecordedOneByOne) {
    TMetafile m(20, 20);
    TMetafileCanvas c(m);
    const TRect rects[] = {{0, 0, 1, 1}, {2, 0, 5, 1}};
    c.FillRects(rects, 2);
    c.Close();
    std::vector<TMetaFillRect> fills;
    for (const TMetafileRecord& r : m.Records())
        if (auto* f = std::get_if<TMetaFillRect>(&r)) fills.push_back(*f);
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[1].left, 2);
    EXPECT_EQ(fills[1].right, 5);
}

TEST(MetafileCanvas, MeasuresLikeTheBitmapCanvas) {
    TBitmap b(1, 1);
    TBitmapCanvas bc(b);
    TMetafile m;
    TMetafileCanvas mc(m);
    for (int height : {9, 12, 16, 23}) {
        bc.Font().SetHeight(height);
        mc.Font().SetHeight(height);
        const std::string text = Sjis("第1号 ＱＲコード");
        EXPECT_EQ(mc.TextExtent(text), bc.TextExtent(text)) << height;
    }
}

TEST(MetafileCanvas, ClearBrushTextIsTransparent) {
    TMetafile m(60, 30);
    {
        TMetafileCanvas c(m);
        c.Brush().SetColor(clBlack);
        c.FillRect(0, 0, 60, 30);
        c.Brush().SetStyle(bsClear);
        c.Font().SetColor(clWhite);
        c.TextOut(2, 2, Sjis("日本"));
    }
    const QImage image = m.ToQImage();
    int black = 0, bright = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 60; ++x) {
            black += image.pixel(x, y) == qRgb(0, 0, 0);
            bright += qGray(image.pixel(x, y)) > 128;
        }
    EXPECT_GT(bright, 40);
    EXPECT_GT(black, 60 * 30 - 2 * 16 * 16);
}

}  // namespace
}  // namespace mosaiko
