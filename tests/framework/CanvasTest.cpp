// Drawing on bitmaps through TBitmapCanvas: exact rectangles, opaque text,
// Shift-JIS decoding and text measuring.
#include <gtest/gtest.h>

#include <vector>

#include "BitmapCanvas.h"
#include "TestSupport.h"

namespace mosaiko {
namespace {

using test::Sjis;

class FillAtDepth : public testing::TestWithParam<TPixelFormat> {};

TEST_P(FillAtDepth, RightAndBottomEdgesAreExclusive) {
    TBitmap b(20, 20, GetParam());
    TBitmapCanvas c(b);
    c.Brush().SetColor(clBlack);
    c.FillRect(3, 4, 8, 9);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inside = x >= 3 && x < 8 && y >= 4 && y < 9;
            ASSERT_EQ(b.Pixel(x, y), inside ? clBlack : clWhite) << x << "," << y;
        }
}

TEST_P(FillAtDepth, ClipsToTheBitmapAndIgnoresEmptyRectangles) {
    TBitmap b(6, 6, GetParam());
    TBitmapCanvas c(b);
    c.Brush().SetColor(clBlack);
    c.FillRect(-5, -5, 2, 1);
    c.FillRect(4, 4, 100, 100);
    c.FillRect(3, 3, 3, 5);  // zero width
    c.FillRect(5, 2, 1, 3);  // right before left
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool inside = (x < 2 && y < 1) || (x >= 4 && y >= 4);
            ASSERT_EQ(b.Pixel(x, y), inside ? clBlack : clWhite) << x << "," << y;
        }
}

// Runs of every length from 1 to 40 pixels (the short ones are filled
// without a loop, the long ones by doubling), some cut by the edges, some
// several rows high: exactly the pixels a pixel-by-pixel fill sets, both
// one rectangle per call and all in one call.
TEST_P(FillAtDepth, RunsOfEveryLengthFillExactlyTheirPixels) {
    constexpr int kWidth = 45, kHeight = 50;
    std::vector<TRect> rects;
    for (int len = 1; len <= 40; ++len) rects.push_back({len % 5, len, len % 5 + len, len + 1 + len % 3});
    rects.push_back({-3, 0, 2, 1});
    rects.push_back({kWidth - 2, 45, kWidth + 7, 60});
    TBitmap expected(kWidth, kHeight, GetParam());
    for (const TRect& r : rects)
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) expected.SetPixel(x, y, clRed);

    TBitmap oneByOne(kWidth, kHeight, GetParam());
    TBitmapCanvas single(oneByOne);
    single.Brush().SetColor(clRed);
    for (const TRect& r : rects) single.FillRect(r.left, r.top, r.right, r.bottom);
    EXPECT_TRUE(oneByOne.SamePixels(expected));

    TBitmap together(kWidth, kHeight, GetParam());
    TBitmapCanvas batch(together);
    batch.Brush().SetColor(clRed);
    batch.FillRects(rects.data(), static_cast<int>(rects.size()));
    EXPECT_TRUE(together.SamePixels(expected));
}

INSTANTIATE_TEST_SUITE_P(AllDepths, FillAtDepth,
                         testing::Values(pf1bit, pf4bit, pf8bit, pf16bit, pf24bit, pf32bit),
                         [](const testing::TestParamInfo<TPixelFormat>& info) {
                             return std::to_string(BitsPerPixelOf(info.param)) + "bit";
                         });

TEST(BitmapCanvas, ClearBrushFillsNothing) {
    TBitmap b(5, 5);
    TBitmapCanvas c(b);
    c.Brush().SetColor(clBlack);
    c.Brush().SetStyle(bsClear);
    c.FillRect(0, 0, 5, 5);
    EXPECT_EQ(b.Pixel(2, 2), clWhite);
}

TEST(BitmapCanvas, ManyRunsStayCrisp) {
    // Module-like runs at magnification 3: every pixel is exactly one of two colours.
    TBitmap b(90, 90);
    TBitmapCanvas c(b);
    c.Brush().SetColor(clBlack);
    for (int r = 0; r < 30; ++r)
        for (int k = r % 2; k < 30; k += 2) c.FillRect(k * 3, r * 3, k * 3 + 3, r * 3 + 3);
    for (int y = 0; y < 90; ++y)
        for (int x = 0; x < 90; ++x)
            ASSERT_EQ(b.Pixel(x, y), ((x / 3 + y / 3) % 2 == 0) ? clBlack : clWhite);
}

class TextTest : public testing::Test {
protected:
    void SetUp() override {
        canvas.Font().SetHeight(16);
        canvas.Brush().SetColor(clRed);
        canvas.FillRect(0, 0, bitmap.Width(), bitmap.Height());
    }
    TBitmap bitmap{120, 40};
    TBitmapCanvas canvas{bitmap};
};

TEST_F(TextTest, JapaneseTextIsDecodedAndMeasuredFullWidth) {
    const QSize one = canvas.TextExtent(Sjis("日"));
    const QSize three = canvas.TextExtent(Sjis("日本語"));
    EXPECT_EQ(one.width(), 16);  // a full-width ideograph of the 16-pixel IPA font
    EXPECT_EQ(three.width(), 3 * one.width());
    EXPECT_EQ(three.height(), one.height());
    EXPECT_GE(three.height(), 16);
    EXPECT_EQ(canvas.TextWidth(Sjis("日本語")), three.width());
    EXPECT_EQ(canvas.TextHeight(Sjis("日本語")), three.height());
}

TEST_F(TextTest, EmptyTextMeasuresNothingAndDrawsNothing) {
    EXPECT_EQ(canvas.TextExtent(""), QSize(0, 0));
    canvas.Brush().SetColor(clYellow);
    canvas.TextOut(5, 5, "");
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x) ASSERT_EQ(bitmap.Pixel(x, y), clRed);
}

TEST_F(TextTest, OpaqueTextFillsItsCellInTheBrushColour) {
    canvas.Brush().SetColor(clYellow);
    canvas.Font().SetColor(clBlack);
    const std::string text = Sjis("日本語");
    const QSize extent = canvas.TextExtent(text);
    canvas.TextOut(4, 6, text);
    const QRect cell(4, 6, extent.width(), extent.height());
    int glyphPixels = 0;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x) {
            const TColor c = bitmap.Pixel(x, y);
            if (!cell.contains(x, y)) {
                ASSERT_EQ(c, clRed) << x << "," << y;
                continue;
            }
            // Inside: yellow background, black glyphs and their smoothed edges,
            // all of them shades between yellow and black (red = green, no blue).
            ASSERT_EQ(RedOf(c), GreenOf(c)) << x << "," << y;
            ASSERT_EQ(BlueOf(c), 0) << x << "," << y;
            if (c != clYellow) ++glyphPixels;
        }
    EXPECT_GT(glyphPixels, 60);  // three ideographs, not blanks
}

TEST_F(TextTest, ClearBrushLeavesTheBackground) {
    canvas.Brush().SetStyle(bsClear);
    canvas.Font().SetColor(clBlue);
    canvas.TextOut(4, 6, Sjis("日本語"));
    int red = 0, bluish = 0;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x) {
            const TColor c = bitmap.Pixel(x, y);
            if (c == clRed) ++red;
            if (BlueOf(c) > 128) ++bluish;
        }
    EXPECT_GT(bluish, 60);
    EXPECT_GT(red, 120 * 40 - 3 * 16 * 22);
}

TEST(BitmapCanvas, TextIsTheSameOnTwentyFourAndThirtyTwoBitBitmaps) {
    TBitmap b24(80, 24, pf24bit), b32(80, 24, pf32bit), b16(80, 24, pf16bit);
    for (TBitmap* b : {&b24, &b32, &b16}) {
        TBitmapCanvas c(*b);
        c.Brush().SetColor(clYellow);
        c.Font().SetColor(clBlue);
        c.TextOut(2, 3, Sjis("QR 日本"));
    }
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 80; ++x) {
            ASSERT_EQ(b24.Pixel(x, y), b32.Pixel(x, y)) << x << "," << y;
            TBitmap one(1, 1, pf16bit);
            one.SetPixel(0, 0, b32.Pixel(x, y));
            ASSERT_EQ(b16.Pixel(x, y), one.Pixel(0, 0)) << x << "," << y;
        }
}

TEST(BitmapCanvas, TextOnOneBitBitmapUsesItsPalette) {
    TBitmap b(60, 20, pf1bit);
    TBitmapCanvas c(b);
    c.Font().SetHeight(16);
    c.TextOut(0, 0, Sjis("日本"));
    int black = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x) {
            if (b.Pixel(x, y) == clBlack) {
                ++black;
                EXPECT_LT(x, 32);
            }
        }
    EXPECT_GT(black, 40);
}

TEST(BitmapCanvas, SeveralRectanglesInOneCallNotifyOnce) {
    TBitmap b(10, 10);
    int changes = 0;
    b.SetOnChange([&] { ++changes; });
    TBitmapCanvas c(b);
    c.Brush().SetColor(clBlack);
    const TRect rects[] = {{0, 0, 1, 1}, {2, 0, 5, 1}, {0, 3, 10, 4}};
    c.FillRects(rects, 3);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(b.Pixel(4, 0), clBlack);
    EXPECT_EQ(b.Pixel(1, 0), clWhite);
    c.Brush().SetStyle(bsClear);
    const TRect all{0, 0, 10, 10};
    c.FillRects(&all, 1);
    EXPECT_EQ(b.Pixel(5, 5), clWhite);
}

TEST(BitmapCanvas, DrawingNotifiesTheBitmapOwner) {
    TBitmap b(10, 10);
    int changes = 0;
    b.SetOnChange([&] { ++changes; });
    TBitmapCanvas c(b);
    c.FillRect(0, 0, 2, 2);
    c.TextOut(0, 0, "A");
    EXPECT_EQ(changes, 2);
}

}  // namespace
}  // namespace mosaiko
