// TPicture: holding nothing, a bitmap or a metafile, and its change callback.
#include <gtest/gtest.h>

#include "BitmapCanvas.h"
#include "MetafileCanvas.h"
#include "Picture.h"

namespace mosaiko {
namespace {

TEST(Picture, StartsWithNothing) {
    TPicture p;
    EXPECT_EQ(p.Kind(), TGraphicKind::None);
    EXPECT_FALSE(p.HasGraphic());
    EXPECT_EQ(p.Width(), 0);
    EXPECT_EQ(p.AsBitmap(), nullptr);
}

TEST(Picture, BitmapReplacesAnyOtherGraphicByAnEmptyBitmap) {
    TPicture p;
    EXPECT_TRUE(p.Bitmap().Empty());
    EXPECT_EQ(p.Kind(), TGraphicKind::Bitmap);

    p.AssignMetafile(TMetafile(40, 30));
    EXPECT_EQ(p.Kind(), TGraphicKind::Metafile);
    EXPECT_EQ(p.Width(), 40);
    TBitmap& b = p.Bitmap();
    EXPECT_EQ(p.Kind(), TGraphicKind::Bitmap);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.PixelFormat(), pf32bit);
}

TEST(Picture, BitmapOfABitmapPictureKeepsIt) {
    TPicture p;
    p.AssignBitmap(TBitmap(7, 5, pf8bit));
    EXPECT_EQ(p.Bitmap().Width(), 7);
    EXPECT_EQ(p.Bitmap().PixelFormat(), pf8bit);
    EXPECT_EQ(p.Height(), 5);
}

TEST(Picture, MetafileReplacesABitmap) {
    TPicture p;
    p.AssignBitmap(TBitmap(7, 5));
    TMetafile& m = p.Metafile();
    EXPECT_EQ(p.Kind(), TGraphicKind::Metafile);
    EXPECT_TRUE(m.Empty());
    EXPECT_EQ(p.Width(), 0);
}

TEST(Picture, ClearAssignsNothing) {
    TPicture p;
    p.AssignBitmap(TBitmap(3, 3));
    p.Clear();
    EXPECT_EQ(p.Kind(), TGraphicKind::None);
    EXPECT_EQ(p.Height(), 0);
}

TEST(Picture, AssignMakesAnIndependentCopy) {
    TPicture a, b;
    a.AssignBitmap(TBitmap(4, 4));
    b.Assign(a);
    a.Bitmap().SetPixel(1, 1, clBlack);
    EXPECT_EQ(b.Bitmap().Pixel(1, 1), clWhite);
    TPicture empty;
    b.Assign(empty);
    EXPECT_EQ(b.Kind(), TGraphicKind::None);
}

TEST(Picture, ReportsEveryChangeOfItsGraphic) {
    TPicture p;
    int changes = 0;
    p.SetOnChange([&] { ++changes; });
    p.Bitmap();  // nothing -> bitmap
    EXPECT_EQ(changes, 1);
    p.Bitmap().SetSize(10, 10);
    EXPECT_EQ(changes, 2);
    TBitmapCanvas(p.Bitmap()).FillRect(0, 0, 3, 3);
    EXPECT_EQ(changes, 3);
    p.Bitmap();  // already a bitmap: no change
    EXPECT_EQ(changes, 3);

    p.AssignMetafile(TMetafile(5, 5));
    EXPECT_EQ(changes, 4);
    { TMetafileCanvas c(p.Metafile()); }
    EXPECT_EQ(changes, 5);
    p.Clear();
    EXPECT_EQ(changes, 6);

    TPicture q;
    q.AssignBitmap(TBitmap(2, 2));
    p.Assign(q);
    EXPECT_EQ(changes, 7);
    p.Bitmap().SetPixel(0, 0, clBlack);
    p.Bitmap().Changed();  // after writing pixels directly
    EXPECT_EQ(changes, 8);
    q.Bitmap().SetSize(3, 3);  // the source's graphic does not report to p
    EXPECT_EQ(changes, 8);
}

}  // namespace
}  // namespace mosaiko
