// TBitmap::Rotated: the pixel copy behind RotatePicture, at every depth.
#include <gtest/gtest.h>

#include <random>

#include "Bitmap.h"
#include "TestSupport.h"

namespace mosaiko {
namespace {

using test::RawPixel;

class RotationAtDepth : public testing::TestWithParam<TPixelFormat> {};

// Odd sizes so that 1- and 4-bit rows end inside a byte.
TBitmap RandomBitmap(TPixelFormat format, int w, int h, unsigned seed) {
    TBitmap b(w, h, format);
    std::mt19937 random(seed);
    test::FillRandom(b, random);
    return b;
}

bool SamePixelsRaw(const TBitmap& a, const TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (RawPixel(a, x, y) != RawPixel(b, x, y)) return false;
    return true;
}

TEST_P(RotationAtDepth, TurnAndOppositeTurnGiveBackTheSamePixels) {
    const TBitmap source = RandomBitmap(GetParam(), 13, 7, 42);
    for (auto [first, second] : {std::pair{90, 270}, std::pair{180, 180}, std::pair{270, 90}}) {
        const TBitmap turned = source.Rotated(first);
        const TBitmap back = turned.Rotated(second);
        EXPECT_TRUE(SamePixelsRaw(back, source)) << first << "+" << second;
        EXPECT_TRUE(back.SamePixels(source)) << first << "+" << second;
    }
}

TEST_P(RotationAtDepth, DestinationTakesTheGivenSourcePixel) {
    const int W = 11, H = 5;
    const TBitmap s = RandomBitmap(GetParam(), W, H, 7);
    const TBitmap r90 = s.Rotated(90), r180 = s.Rotated(180), r270 = s.Rotated(270);
    ASSERT_EQ(r90.Width(), H);
    ASSERT_EQ(r90.Height(), W);
    ASSERT_EQ(r180.Width(), W);
    ASSERT_EQ(r180.Height(), H);
    ASSERT_EQ(r270.Width(), H);
    ASSERT_EQ(r270.Height(), W);
    for (int y = 0; y < W; ++y)
        for (int x = 0; x < H; ++x) {
            ASSERT_EQ(RawPixel(r90, x, y), RawPixel(s, y, H - 1 - x)) << x << "," << y;
            ASSERT_EQ(RawPixel(r270, x, y), RawPixel(s, W - 1 - y, x)) << x << "," << y;
        }
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) ASSERT_EQ(RawPixel(r180, x, y), RawPixel(s, W - 1 - x, H - 1 - y));
}

TEST_P(RotationAtDepth, KeepsFormatAndPalette) {
    TBitmap s = RandomBitmap(GetParam(), 6, 4, 3);
    if (s.BitsPerPixel() <= 8) {
        std::vector<TColor> palette(size_t{1} << s.BitsPerPixel());
        for (size_t i = 0; i < palette.size(); ++i) palette[i] = static_cast<TColor>(i * 0x010203);
        s.SetPalette(palette);
    }
    const TBitmap r = s.Rotated(90);
    EXPECT_EQ(r.PixelFormat(), s.PixelFormat());
    EXPECT_EQ(r.Palette(), s.Palette());
}

INSTANTIATE_TEST_SUITE_P(AllDepths, RotationAtDepth,
                         testing::Values(pf1bit, pf4bit, pf8bit, pf16bit, pf24bit, pf32bit),
                         [](const testing::TestParamInfo<TPixelFormat>& info) {
                             return std::to_string(BitsPerPixelOf(info.param)) + "bit";
                         });

TEST(Rotation, OneBitTenByThreeTurnedClockwise) {
    TBitmap s(10, 3, pf1bit);
    s.SetPixel(0, 2, clBlack);
    const TBitmap r = s.Rotated(90);
    ASSERT_EQ(r.Width(), 3);
    ASSERT_EQ(r.Height(), 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(r.Pixel(x, y), (x == 0 && y == 0) ? clBlack : clWhite) << x << "," << y;
}

TEST(Rotation, NinetyDegreesIsClockwise) {
    TBitmap s(4, 2);
    s.SetPixel(0, 0, clRed);  // top-left goes to the top-right corner
    const TBitmap r = s.Rotated(90);
    EXPECT_EQ(r.Pixel(1, 0), clRed);
    EXPECT_EQ(r.Pixel(0, 0), clWhite);
}

TEST(Rotation, OtherAnglesCopyUnchanged) {
    const TBitmap s = RandomBitmap(pf24bit, 5, 3, 9);
    for (int angle : {0, 45, 360, -90}) {
        const TBitmap r = s.Rotated(angle);
        EXPECT_TRUE(r.SamePixels(s)) << angle;
    }
}

}  // namespace
}  // namespace mosaiko
