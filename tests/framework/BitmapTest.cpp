// Storage layout, sizing and conversions of TBitmap.
#include <gtest/gtest.h>


#include "Bitmap.h"
#include "TestSupport.h"

namespace mosaiko {
namespace {

using test::RawPixel;

TEST(Bitmap, NewBitmapIsEmptyAndThirtyTwoBit) {
    TBitmap b;
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.PixelFormat(), pf32bit);
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(b.Height(), 0);
}

TEST(Bitmap, RowsArePaddedToFourBytes) {
    EXPECT_EQ(TBitmap(10, 1, pf1bit).BytesPerLine(), 4);
    EXPECT_EQ(TBitmap(33, 1, pf1bit).BytesPerLine(), 8);
    EXPECT_EQ(TBitmap(9, 1, pf4bit).BytesPerLine(), 8);
    EXPECT_EQ(TBitmap(5, 1, pf8bit).BytesPerLine(), 8);
    EXPECT_EQ(TBitmap(3, 1, pf16bit).BytesPerLine(), 8);
    EXPECT_EQ(TBitmap(3, 1, pf24bit).BytesPerLine(), 12);
    EXPECT_EQ(TBitmap(3, 1, pf32bit).BytesPerLine(), 12);
}

TEST(Bitmap, OneBitPacksLeftmostPixelInMostSignificantBit) {
    TBitmap b(10, 2, pf1bit);
    ASSERT_EQ(b.Palette(), (std::vector<TColor>{clBlack, clWhite}));
    EXPECT_EQ(b.ScanLine(0)[0], 0xFF);  // white everywhere: index 1
    b.SetPixel(0, 0, clBlack);
    b.SetPixel(9, 1, clBlack);
    EXPECT_EQ(b.ScanLine(0)[0], 0x7F);
    EXPECT_EQ(b.ScanLine(1)[1] & 0xC0, 0x80);  // column 8 white, column 9 black
    EXPECT_EQ(b.Pixel(0, 0), clBlack);
    EXPECT_EQ(b.Pixel(1, 0), clWhite);
}

TEST(Bitmap, FourBitKeepsEvenColumnInHighNibble) {
    TBitmap b(3, 1, pf4bit);
    b.SetPixelValue(0, 0, 0x3);
    b.SetPixelValue(1, 0, 0xA);
    b.SetPixelValue(2, 0, 0x5);
    EXPECT_EQ(b.ScanLine(0)[0], 0x3A);
    EXPECT_EQ(b.ScanLine(0)[1] >> 4, 0x5);
    EXPECT_EQ(b.Pixel(1, 0), b.Palette()[0xA]);
}

TEST(Bitmap, SixteenBitIsRgb555AndTrueColourIsBlueGreenRed) {
    TBitmap b16(1, 1, pf16bit);
    b16.SetPixel(0, 0, clRed);
    EXPECT_EQ(RawPixel(b16, 0, 0), 0x7C00u);
    b16.SetPixel(0, 0, clBlue);
    EXPECT_EQ(RawPixel(b16, 0, 0), 0x001Fu);
    EXPECT_EQ(b16.Pixel(0, 0), clBlue);

    TBitmap b24(1, 1, pf24bit);
    b24.SetPixel(0, 0, RGBColor(0x11, 0x22, 0x33));
    const uint8_t* p = b24.ScanLine(0);
    EXPECT_EQ(p[0], 0x33);
    EXPECT_EQ(p[1], 0x22);
    EXPECT_EQ(p[2], 0x11);

    TBitmap b32(1, 1);
    b32.SetPixel(0, 0, RGBColor(0x11, 0x22, 0x33));
    EXPECT_EQ(b32.ScanLine(0)[0], 0x33);
    EXPECT_EQ(b32.ScanLine(0)[2], 0x11);
    EXPECT_EQ(b32.ToQImage().pixel(0, 0), qRgb(0x11, 0x22, 0x33));
}

TEST(Bitmap, SetSizeKeepsOverlapAndWhitensNewPixels) {
    for (TPixelFormat f : {pf1bit, pf4bit, pf8bit, pf16bit, pf24bit, pf32bit}) {
        TBitmap b(4, 3, f);
        b.SetPixel(3, 2, clBlack);
        b.SetSize(6, 5);
        EXPECT_EQ(b.Pixel(3, 2), clBlack) << BitsPerPixelOf(f);
        EXPECT_EQ(b.Pixel(5, 4), clWhite) << BitsPerPixelOf(f);
        EXPECT_EQ(b.Pixel(4, 0), clWhite) << BitsPerPixelOf(f);
        b.SetSize(2, 2);
        EXPECT_EQ(b.Width(), 2);
        EXPECT_EQ(b.Height(), 2);
    }
}

TEST(Bitmap, PixelFormatChangeKeepsColoursThatTheNewFormatHas) {
    TBitmap b(5, 5);
    b.SetPixel(1, 1, clBlack);
    b.SetPixel(2, 2, RGBColor(250, 10, 10));  // near red
    b.SetPixelFormat(pf4bit);
    EXPECT_EQ(b.Pixel(1, 1), clBlack);
    EXPECT_EQ(b.Pixel(2, 2), clRed);
    EXPECT_EQ(b.Pixel(0, 0), clWhite);
    b.SetPixelFormat(pf1bit);
    EXPECT_EQ(b.Pixel(1, 1), clBlack);
    EXPECT_EQ(b.Pixel(0, 0), clWhite);
}

TEST(Bitmap, QImageRoundTrip) {
    QImage image(7, 3, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(6, 2, qRgb(1, 2, 3));
    const TBitmap b = TBitmap::FromQImage(image);
    EXPECT_EQ(b.PixelFormat(), pf32bit);
    EXPECT_EQ(b.Pixel(6, 2), RGBColor(1, 2, 3));
    EXPECT_EQ(b.ToQImage(), image);
}

TEST(Bitmap, PaletteIsLimitedByDepthAndIgnoredForTrueColour) {
    TBitmap b(2, 2, pf1bit);
    b.SetPalette({clRed, clBlue, clLime});
    EXPECT_EQ(b.Palette(), (std::vector<TColor>{clRed, clBlue}));
    EXPECT_EQ(b.Pixel(0, 0), clBlue);  // white was index 1
    TBitmap t(2, 2, pf24bit);
    t.SetPalette({clRed});
    EXPECT_TRUE(t.Palette().empty());
}

TEST(Bitmap, MonoCopyOnlyForPureBlackAndWhite) {
    TBitmap b(19, 3);
    b.FillRect(2, 0, 9, 2, clBlack);
    const QImage mono = b.ToMonoQImage();
    ASSERT_EQ(mono.format(), QImage::Format_Mono);
    EXPECT_EQ(mono.convertToFormat(QImage::Format_RGB32), b.ToQImage());
    b.SetPixel(18, 2, clRed);
    EXPECT_TRUE(b.ToMonoQImage().isNull());
    EXPECT_TRUE(TBitmap(4, 4, pf8bit).ToMonoQImage().isNull());
}

}  // namespace
}  // namespace mosaiko
