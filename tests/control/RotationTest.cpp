// Turning the picture: RotatePicture on its own, and Angle in PaintSymbol
// with and without Match.
#include <gtest/gtest.h>

#include <QTransform>

#include "ControlTestSupport.h"

namespace mosaiko {
namespace {

using test::AllPixels;
using test::PictureImage;

QImage TurnedClockwise(const QImage& image, int angle) {
    return image.transformed(QTransform().rotate(angle)).convertToFormat(QImage::Format_RGB32);
}

TBitmap Striped(int w, int h) {
    TBitmap bitmap(w, h, pf24bit);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) bitmap.SetPixel(x, y, RGBColor(x * 20, y * 30, (x + y) * 5));
    return bitmap;
}

TEST(Rotation, QuarterTurnsSwapTheControlSize) {
    TQRCode q;
    q.SetWidth(10);
    q.SetHeight(3);
    q.Picture().AssignBitmap(Striped(10, 3));
    q.SetStretch(true);
    q.RotatePicture(90);
    EXPECT_EQ(q.size(), QSize(3, 10));
    EXPECT_EQ(q.Picture().Width(), 3);
    EXPECT_EQ(q.Picture().Height(), 10);
    EXPECT_EQ(q.Picture().Bitmap().Pixel(0, 0), Striped(10, 3).Pixel(0, 2));
    EXPECT_TRUE(q.Stretch());

    q.RotatePicture(270);
    EXPECT_EQ(q.size(), QSize(10, 3));
    EXPECT_TRUE(q.Picture().Bitmap().SamePixels(Striped(10, 3)));

    q.RotatePicture(180);
    EXPECT_EQ(q.size(), QSize(10, 3));
    EXPECT_EQ(q.Picture().Bitmap().Pixel(0, 0), Striped(10, 3).Pixel(9, 2));

    // Other angles, metafiles and an empty picture are left alone.
    q.RotatePicture(45);
    q.RotatePicture(360);
    EXPECT_EQ(q.Picture().Bitmap().Pixel(0, 0), Striped(10, 3).Pixel(9, 2));
    q.Picture().AssignMetafile(TMetafile(10, 3));
    q.RotatePicture(90);
    EXPECT_NE(q.Picture().AsMetafile(), nullptr);
    q.Picture().Clear();
    q.RotatePicture(90);
    EXPECT_EQ(q.size(), QSize(10, 3));
}

TEST(Rotation, MatchedPictureIsTheUprightOneTurned) {
    TQRCode q;
    q.SetSymbolEnabled(false);
    q.SetCode(test::SampleText(20));
    q.SetMode(qrPlus);
    q.SetCount(2);
    q.SetMatch(true);
    q.SetSymbolEnabled(true);
    const QImage upright = PictureImage(q);
    ASSERT_EQ(upright.size(), QSize(58, 29));
    for (int angle : {90, 180, 270, 0}) {
        SCOPED_TRACE(angle);
        q.SetAngle(angle);
        EXPECT_EQ(PictureImage(q), TurnedClockwise(upright, angle));
        EXPECT_EQ(q.size(), TurnedClockwise(upright, angle).size());
    }
}

// Without Match the user's corner is the corner of the block as shown.
TEST(Rotation, CornerIsWhereTheTurnedBlockIsShown) {
    TQRCode reference;
    reference.SetSymbolEnabled(false);
    reference.SetCode(test::SampleText(20));
    reference.SetMode(qrPlus);
    reference.SetCount(2);
    reference.SetPxmag(2);
    reference.SetNumbering(nbrNone);
    reference.SetMatch(true);
    reference.SetSymbolEnabled(true);
    const QImage block = PictureImage(reference);
    ASSERT_EQ(block.size(), QSize(116, 58));

    for (int angle : {0, 90, 180, 270}) {
        SCOPED_TRACE(angle);
        TQRCode q;
        q.SetSymbolEnabled(false);
        q.SetWidth(150);
        q.SetHeight(130);
        q.SetCode(test::SampleText(20));
        q.SetMode(qrPlus);
        q.SetCount(2);
        q.SetPxmag(2);
        q.SetSymbolLeft(13);
        q.SetSymbolTop(7);
        q.SetNumbering(nbrNone);
        q.SetAngle(angle);
        q.SetSymbolEnabled(true);
        EXPECT_EQ(q.size(), QSize(150, 130));
        const QImage shown = PictureImage(q);
        ASSERT_EQ(shown.size(), QSize(150, 130));
        const QImage turned = TurnedClockwise(block, angle);
        const QRect where(QPoint(13, 7), turned.size());
        EXPECT_EQ(shown.copy(where), turned);
        EXPECT_TRUE(AllPixels(shown, QRect(0, 0, 150, 7), 0xFFFFFFFF));
        EXPECT_TRUE(AllPixels(shown, QRect(0, 0, 13, 130), 0xFFFFFFFF));
        EXPECT_TRUE(AllPixels(shown, QRect(where.right() + 1, 0, 150, 130), 0xFFFFFFFF));
        EXPECT_TRUE(AllPixels(shown, QRect(0, where.bottom() + 1, 150, 130), 0xFFFFFFFF));
        EXPECT_EQ(q.SymbolLeft(), 13);
        EXPECT_EQ(q.SymbolTop(), 7);
    }
}

}  // namespace
}  // namespace mosaiko
