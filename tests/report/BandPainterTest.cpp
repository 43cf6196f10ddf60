// A band recorded into a picture, as the print preview records its pages,
// replays as the same pixels as the band painted straight onto the screen.
#include "BandPainter.h"
#include "PictureScaling.h"
#include "ReportTestSupport.h"
#include "ReportUnits.h"

#include <QPicture>
#include <gtest/gtest.h>

namespace mosaiko::test {
namespace {

// A white band of 60 x 40 mm with one QR picture of 140 design pixels.
struct ImageBand {
    explicit ImageBand(const QImage& picture) {
        band.Size().SetWidth(60);
        band.Size().SetHeight(40);
        TReportImage* image = band.AddImage();
        image->SetBounds(QRect(10, 5, 140, 140));
        image->SetPicture(picture);
    }
    TReportBand band{TBandType::rbDetail};
};

// Paints the band at the paper's top-left corner; scales that are not whole
// numbers make every module edge fall between pixels somewhere.
void PaintBand(QPaintDevice& device, const TReportBand& band, double pixelsPerMm) {
    QPainter painter(&device);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    DeviceMapping mapping;
    mapping.pixelsPerMmX = mapping.pixelsPerMmY = pixelsPerMm;
    BandPainter(painter, mapping).Paint(band, QPointF(0, 0), QRectF(0, 0, 60, 40), 1);
}

QImage Blank(double pixelsPerMm, QColor paper = Qt::red) {
    QImage image(QSize(60, 40) * pixelsPerMm, QImage::Format_RGB32);
    image.fill(paper);
    return image;
}

QImage Replayed(const TReportBand& band, double pixelsPerMm, QColor paper = Qt::red) {
    QPicture recorded;
    PaintBand(recorded, band, pixelsPerMm);
    QImage screen = Blank(pixelsPerMm, paper);
    QPainter painter(&screen);
    painter.drawPicture(0, 0, recorded);
    return screen;
}

QImage Direct(const TReportBand& band, double pixelsPerMm, QColor paper = Qt::red) {
    QImage screen = Blank(pixelsPerMm, paper);
    PaintBand(screen, band, pixelsPerMm);
    return screen;
}

TEST(BandPainter, RecordedPicturesReplayAsPaintedAndStillScan) {
    const std::string text = "MOSAIKO-PREVIEW-0123456789";
    for (const int magnification : {1, 2, 3}) {
        ImageBand sample(QrPicture(text, magnification));
        for (const double pixelsPerMm : {3.7, 5.0, 11.81}) {
            SCOPED_TRACE(testing::Message() << magnification << " px/module at " << pixelsPerMm << " px/mm");
            const QImage replayed = Replayed(sample.band, pixelsPerMm);
            EXPECT_EQ(replayed, Direct(sample.band, pixelsPerMm));
            // Only where a module still covers more than a screen pixel.
            const double pixelsPerModule = DesignPixelsToMm(140) * pixelsPerMm / 256 * magnification;
            if (pixelsPerModule > 1.5) {
                EXPECT_EQ(DecodeQr(replayed, replayed.rect()), text);
            }
        }
    }
}

TEST(BandPainter, RecordedColourPicturesKeepTheirColours) {
    QImage picture = QrPicture("colour", 2);
    for (int x = 0; x < 40; ++x) picture.setPixel(x, 250, qRgb(0, 0, 255));
    ImageBand sample(picture);
    EXPECT_EQ(Replayed(sample.band, 4.2), Direct(sample.band, 4.2));
}

// Only the symbol and its quiet zone go out; on white paper the page is the
// same, pixel for pixel, at scales where module edges fall between pixels.
TEST(BandPainter, PictureCutToItsSymbolPaintsTheSamePage) {
    for (const int magnification : {1, 2, 3}) {
        ImageBand whole(QrPicture("MOSAIKO-INK-42", magnification));
        ImageBand cut(QrPicture("MOSAIKO-INK-42", magnification));
        TReportImage& image = static_cast<TReportImage&>(*cut.band.Controls().front());
        image.SetInkMargin(4 * magnification);
        // The symbol given alone, standing for the top-left part of its picture.
        const QImage picture = QrPicture("MOSAIKO-INK-42", magnification);
        ImageBand framed(picture.copy(InkRect(CompactPicture(picture), 4 * magnification)));
        static_cast<TReportImage&>(*framed.band.Controls().front()).SetFrame(picture.size());
        for (const double pixelsPerMm : {3.7, 5.0, 11.81, 23.62}) {
            SCOPED_TRACE(testing::Message() << magnification << " px/module at " << pixelsPerMm << " px/mm");
            const QImage expected = Direct(whole.band, pixelsPerMm, Qt::white);
            EXPECT_EQ(Direct(cut.band, pixelsPerMm, Qt::white), expected);
            EXPECT_EQ(Replayed(cut.band, pixelsPerMm, Qt::white), expected);  // the preview's way
            EXPECT_EQ(Direct(framed.band, pixelsPerMm, Qt::white), expected);
        }
    }
}

// A band of another colour than the paper's is still filled, and controls
// reaching out of the band are still cut at its edge.
TEST(BandPainter, ColouredBandsAreFilledAndControlsClippedToTheBand) {
    ImageBand sample(QrPicture("clip", 1));
    sample.band.SetColor(QColor(255, 255, 0));
    TReportImage& image = static_cast<TReportImage&>(*sample.band.Controls().front());
    image.SetBounds(QRect(10, 5, 140, 400));  // far below the band's 40 mm
    const double pixelsPerMm = 5.0;
    const QImage painted = Direct(sample.band, pixelsPerMm);
    EXPECT_EQ(painted.pixel(1, 1), qRgb(255, 255, 0));
    EXPECT_EQ(painted.pixel(painted.width() - 1, painted.height() - 1), qRgb(255, 255, 0));
    QImage taller(QSize(60, 200) * pixelsPerMm, QImage::Format_RGB32);
    taller.fill(Qt::red);
    PaintBand(taller, sample.band, pixelsPerMm);
    EXPECT_EQ(taller.pixel(100, static_cast<int>(41 * pixelsPerMm)), qRgb(255, 0, 0));
}

// One painter drawing band after band keeps each control's last layout and
// resolved font: every band it paints equals the band painted by a fresh
// painter, whether the caption, its font size or the page number changed.
TEST(BandPainter, KeptLayoutsPaintAsFreshOnes) {
    TReportBand band{TBandType::rbDetail};
    band.Size().SetWidth(60);
    band.Size().SetHeight(40);
    TReportLabel* label = band.AddLabel();
    label->SetBounds(QRect(4, 4, 200, 60));
    label->SetWordWrap(true);
    TReportSysData* field = band.AddSysData();
    field->SetBounds(QRect(4, 100, 80, 20));
    field->SetData(TSysDataType::sdPageNumber);
    struct Step {
        std::string caption;
        double points;
        int page;
    };
    const std::string wrapped = "Kept layouts \x93\xfa\x96\x7b wrap over several lines of this label";
    const Step steps[] = {{"Title", 9, 1}, {"Title", 9, 2},    {wrapped, 9, 2},        {wrapped, 9, 3},
                          {"a\r\rb", 9, 4}, {"Title", 12, 5},  {"Title", 9, 5},        {std::string(40, 'x') + "\r" + wrapped + "\r" + wrapped, 9, 6},
                          {"Title", 9, 6}};
    const double pixelsPerMm = 5.0;
    DeviceMapping mapping;
    mapping.pixelsPerMmX = mapping.pixelsPerMmY = pixelsPerMm;
    QImage kept = Blank(pixelsPerMm);
    QPainter painter(&kept);
    BandPainter keeping(painter, mapping);
    for (const Step& s : steps) {
        SCOPED_TRACE(s.caption.substr(0, 12) + " " + std::to_string(s.points) + " " + std::to_string(s.page));
        label->SetCaption(s.caption);
        label->SetFontSize(s.points);
        painter.fillRect(kept.rect(), Qt::red);
        keeping.Paint(band, QPointF(0, 0), QRectF(0, 0, 60, 40), s.page);
        QImage fresh = Blank(pixelsPerMm);
        {
            QPainter freshPainter(&fresh);
            BandPainter(freshPainter, mapping).Paint(band, QPointF(0, 0), QRectF(0, 0, 60, 40), s.page);
        }
        EXPECT_EQ(kept, fresh);
    }
}

}  // namespace
}  // namespace mosaiko::test
