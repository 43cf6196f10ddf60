// Pictures prepared for print keep every pixel exactly: nothing is resized.
#include "PictureScaling.h"
#include "ReportTestSupport.h"

#include <gtest/gtest.h>

namespace mosaiko::test {
namespace {

TEST(PictureScaling, BlackAndWhiteBecomesOneBitWithoutChange) {
    const QImage picture = QrPicture("compact me", 3);
    const QImage compact = CompactPicture(picture);
    EXPECT_EQ(compact.depth(), 1);
    EXPECT_EQ(compact.convertToFormat(QImage::Format_RGB32), picture);

    QImage coloured = picture;
    coloured.setPixel(0, 0, qRgb(255, 0, 0));
    EXPECT_EQ(CompactPicture(coloured).depth(), 32);
}

QImage MonoWhite(int width, int height, bool whiteIsZero) {
    QImage mono(width, height, QImage::Format_Mono);
    if (whiteIsZero) mono.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    else mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    mono.fill(whiteIsZero ? 0 : 1);
    return mono;
}

TEST(PictureScaling, InkRectIsTheDarkPartWidenedAndCutToThePicture) {
    for (const bool whiteIsZero : {false, true}) {
        SCOPED_TRACE(whiteIsZero ? "white is bit 0" : "white is bit 1");
        const uint dark = whiteIsZero ? 1 : 0;
        QImage mono = MonoWhite(37, 21, whiteIsZero);
        EXPECT_TRUE(InkRect(mono, 4).isEmpty());
        mono.setPixel(9, 5, dark);
        mono.setPixel(30, 12, dark);
        EXPECT_EQ(InkRect(mono, 0), QRect(QPoint(9, 5), QPoint(30, 12)));
        EXPECT_EQ(InkRect(mono, 4), QRect(QPoint(5, 1), QPoint(34, 16)));
        // At the picture's last column, in the partly used last byte of a row.
        mono.setPixel(36, 20, dark);
        mono.setPixel(0, 0, dark);
        EXPECT_EQ(InkRect(mono, 4), mono.rect());
    }
    // Pictures that are not two-colour one-bit pictures are shown whole.
    EXPECT_EQ(InkRect(QrPicture("whole", 1), 4), QRect(0, 0, 256, 256));
}

TEST(PictureScaling, PicturePartHasWhitePaddingAndTheSamePixels) {
    for (const bool whiteIsZero : {false, true}) {
        QImage mono = MonoWhite(64, 8, whiteIsZero);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 64; ++x) mono.setPixel(x, y, (x * 7 + y * 3) % 5 == 0 ? 1u : 0u);
        const QRect part(3, 2, 13, 5);  // 13 pixels: three bits of padding
        const QImage copy = PicturePart(mono, part);
        ASSERT_EQ(copy.size(), part.size());
        for (int y = 0; y < copy.height(); ++y) {
            for (int x = 0; x < copy.width(); ++x)
                EXPECT_EQ(copy.pixelIndex(x, y), mono.pixelIndex(x + 3, y + 2)) << x << "," << y;
            const uchar padding = copy.constScanLine(y)[1] & 0x07;
            EXPECT_EQ(padding, whiteIsZero ? 0x00 : 0x07) << "row " << y;
        }
    }
}

}  // namespace
}  // namespace mosaiko::test
