// Pictures prepared for print keep every pixel exactly.
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

TEST(PictureScaling, ResizingRepeatsOrDropsPixelsAndKeepsOneBit) {
    const QImage picture = CompactPicture(QrPicture("enlarge me", 1));
    const QImage big = PrintPicture(picture, QSizeF(767.2, 768));
    ASSERT_EQ(big.size(), QSize(768, 768));
    EXPECT_EQ(big.depth(), 1);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            ASSERT_EQ(big.pixel(3 * x + 1, 3 * y + 1), picture.pixel(x, y)) << x << "," << y;

    // Within a factor of two the picture is left alone; far larger it shrinks.
    EXPECT_EQ(PrintPicture(picture, QSizeF(200, 256)).size(), picture.size());
    EXPECT_EQ(PrintPicture(big, QSizeF(100, 100)).size(), QSize(100, 100));
    EXPECT_EQ(PrintPicture(picture, QSizeF(1e9, 1e9)).width(), 8192);
}

}  // namespace
}  // namespace mosaiko::test
