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

}  // namespace
}  // namespace mosaiko::test
