// TImage on the offscreen platform: canvas, AutoSize, Stretch, Center and
// painting of bitmaps and metafiles (looked at through QWidget::grab).
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "Exception.h"
#include "Image.h"
#include "MetafileCanvas.h"
#include "TestSupport.h"

namespace mosaiko {
namespace {

QImage Shown(TImage& image) { return test::Rgb(image.grab().toImage()); }

TBitmap LeftHalfBlack(int w, int h) {
    TBitmap b(w, h);
    b.FillRect(0, 0, w / 2, h, clBlack);
    return b;
}

// Counts the repaints that reach the screen.
class CountingImage : public TImage {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent* event) override {
        ++paints;
        TImage::paintEvent(event);
    }
};

void SettleEvents() {
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

// Many canvas calls in a row ask for one repaint; every later change, shown
// or hidden when it happened, still reaches the screen.
TEST(Image, CanvasChangesRepaintOnceAndAgainAfterEachPaint) {
    CountingImage image;
    image.SetWidth(40);
    image.SetHeight(40);
    image.show();
    SettleEvents();
    const int shown = image.paints;
    TCanvas& canvas = image.Canvas();
    canvas.Brush().SetColor(clBlack);
    for (int x = 0; x < 40; x += 2) canvas.FillRect(x, 0, x + 1, 40);
    SettleEvents();
    EXPECT_EQ(image.paints, shown + 1);
    canvas.FillRect(0, 0, 40, 1);
    SettleEvents();
    EXPECT_EQ(image.paints, shown + 2);

    image.hide();
    canvas.Brush().SetColor(clWhite);
    canvas.FillRect(0, 0, 40, 40);
    SettleEvents();
    image.show();
    SettleEvents();
    EXPECT_EQ(Shown(image).pixel(1, 1), qRgb(255, 255, 255));
    const int afterShow = image.paints;
    canvas.Brush().SetColor(clBlack);
    canvas.FillRect(0, 0, 40, 40);
    SettleEvents();
    EXPECT_EQ(image.paints, afterShow + 1);
}

TEST(Image, NewControlHoldsNothing) {
    TImage image;
    EXPECT_EQ(image.Picture().Kind(), TGraphicKind::None);
    EXPECT_FALSE(image.AutoSize());
    EXPECT_FALSE(image.Stretch());
    EXPECT_FALSE(image.Center());
}

TEST(Image, CanvasOfAnEmptyPictureIsAWhiteBitmapOfTheControlSize) {
    TImage image;
    image.SetWidth(30);
    image.SetHeight(20);
    TCanvas& canvas = image.Canvas();
    ASSERT_EQ(image.Picture().Kind(), TGraphicKind::Bitmap);
    EXPECT_EQ(image.Picture().Width(), 30);
    EXPECT_EQ(image.Picture().Height(), 20);
    EXPECT_EQ(image.Picture().Bitmap().Pixel(29, 19), clWhite);
    canvas.Brush().SetColor(clBlack);
    canvas.FillRect(0, 0, 5, 5);
    EXPECT_EQ(image.Picture().Bitmap().Pixel(4, 4), clBlack);
}

TEST(Image, CanvasOfAMetafilePictureIsAnError) {
    TImage image;
    image.Picture().AssignMetafile(TMetafile(10, 10));
    EXPECT_THROW(image.Canvas(), Exception);
    EXPECT_EQ(image.Picture().Kind(), TGraphicKind::Metafile);
}

TEST(Image, CanvasFollowsThePictureAfterItIsReplaced) {
    TImage image;
    TCanvas& canvas = image.Canvas();
    image.Picture().AssignBitmap(TBitmap(8, 8));
    canvas.Brush().SetColor(clBlack);
    canvas.FillRect(0, 0, 8, 8);
    EXPECT_EQ(image.Picture().Bitmap().Pixel(7, 7), clBlack);
    image.Picture().AssignMetafile(TMetafile(4, 4));
    EXPECT_THROW(canvas.FillRect(0, 0, 1, 1), Exception);
}

TEST(Image, AutoSizeTakesThePictureSize) {
    TImage image;
    image.Picture().AssignBitmap(TBitmap(30, 20));
    EXPECT_EQ(image.Width(), 105);  // not auto-sized yet
    image.SetAutoSize(true);
    EXPECT_EQ(image.Width(), 30);
    EXPECT_EQ(image.Height(), 20);
    image.Picture().Bitmap().SetSize(44, 33);
    EXPECT_EQ(image.Width(), 44);
    EXPECT_EQ(image.Height(), 33);
    image.Picture().AssignMetafile(TMetafile(50, 60));
    EXPECT_EQ(image.Width(), 50);
    EXPECT_EQ(image.Height(), 60);
    image.Picture().Clear();  // nothing to take: the size stays
    EXPECT_EQ(image.Width(), 50);
}

TEST(Image, PaintsABitmapAtTheTopLeftAtItsOwnSize) {
    TImage image;
    image.SetWidth(40);
    image.SetHeight(40);
    image.Picture().AssignBitmap(LeftHalfBlack(10, 10));
    const QImage shown = Shown(image);
    ASSERT_EQ(shown.size(), QSize(40, 40));
    EXPECT_EQ(shown.pixel(4, 9), qRgb(0, 0, 0));
    EXPECT_EQ(shown.pixel(5, 0), qRgb(255, 255, 255));
    EXPECT_NE(shown.pixel(20, 20), qRgb(0, 0, 0));  // outside the picture
}

TEST(Image, StretchScalesWithoutSmoothing) {
    TImage image;
    image.SetWidth(40);
    image.SetHeight(24);
    image.Picture().AssignBitmap(LeftHalfBlack(4, 4));
    image.SetStretch(true);
    const QImage shown = Shown(image);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(shown.pixel(x, y), x < 20 ? qRgb(0, 0, 0) : qRgb(255, 255, 255)) << x << "," << y;
}

TEST(Image, CenterPlacesThePictureInTheMiddle) {
    TImage image;
    image.SetWidth(30);
    image.SetHeight(30);
    TBitmap black(10, 10);
    black.FillRect(0, 0, 10, 10, clBlack);
    image.Picture().AssignBitmap(black);
    image.SetCenter(true);
    EXPECT_EQ(image.DestRect(), QRect(10, 10, 10, 10));
    const QImage shown = Shown(image);
    EXPECT_EQ(shown.pixel(10, 10), qRgb(0, 0, 0));
    EXPECT_EQ(shown.pixel(19, 19), qRgb(0, 0, 0));
    EXPECT_NE(shown.pixel(9, 10), qRgb(0, 0, 0));
    EXPECT_NE(shown.pixel(20, 19), qRgb(0, 0, 0));
}

TEST(Image, RepaintsAfterDrawingOnTheCanvas) {
    TImage image;
    image.SetWidth(10);
    image.SetHeight(10);
    image.Canvas();
    EXPECT_EQ(Shown(image).pixel(5, 5), qRgb(255, 255, 255));
    image.Canvas().Brush().SetColor(clRed);
    image.Canvas().FillRect(0, 0, 10, 10);
    EXPECT_EQ(Shown(image).pixel(5, 5), qRgb(255, 0, 0));
}

TEST(Image, PaintsAMetafileByReplay) {
    TImage image;
    image.SetWidth(20);
    image.SetHeight(20);
    TMetafile m(10, 10);
    {
        TMetafileCanvas c(m);
        c.FillRect(0, 0, 10, 10);
        c.Brush().SetColor(clBlack);
        c.FillRect(0, 0, 5, 10);
    }
    image.Picture().AssignMetafile(m);
    image.SetStretch(true);
    const QImage shown = Shown(image);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(shown.pixel(x, y), x < 10 ? qRgb(0, 0, 0) : qRgb(255, 255, 255)) << x << "," << y;
}

}  // namespace
}  // namespace mosaiko
