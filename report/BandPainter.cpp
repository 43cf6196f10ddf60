#include "BandPainter.h"

#include "LabelText.h"
#include "PictureScaling.h"
#include "ReportUnits.h"
#include "ShiftJis.h"

#include <QDateTime>
#include <QPaintEngine>
#include <algorithm>
#include <cmath>

namespace mosaiko {
namespace {

const QColor kLineColor(128, 128, 128);

QRectF DesignToMm(const QRect& pixels, const QPointF& originMm) {
    return QRectF(originMm.x() + DesignPixelsToMm(pixels.left()),
                  originMm.y() + DesignPixelsToMm(pixels.top()),
                  DesignPixelsToMm(pixels.width()), DesignPixelsToMm(pixels.height()));
}

}  // namespace

QRectF DeviceMapping::ToDevice(const QRectF& mm) const {
    return QRectF((mm.left() - originMm.x()) * pixelsPerMmX, (mm.top() - originMm.y()) * pixelsPerMmY,
                  mm.width() * pixelsPerMmX, mm.height() * pixelsPerMmY);
}

double DeviceMapping::DotsPerInchX() const { return pixelsPerMmX * kMillimetresPerInch; }

BandPainter::BandPainter(QPainter& painter, const DeviceMapping& mapping)
    : painter_(painter), mapping_(mapping) {}

void BandPainter::Paint(const TQRBand& band, const QPointF& topLeftMm, const QRectF& clipMm,
                        int pageNumber) {
    const QRectF bandMm(topLeftMm, QSizeF(band.Size().Width(), band.Size().Height()));
    const QRectF visibleMm = bandMm.intersected(clipMm);
    if (visibleMm.isEmpty()) return;
    painter_.save();
    painter_.setClipRect(mapping_.ToDevice(visibleMm));
    painter_.fillRect(mapping_.ToDevice(bandMm), band.Color());
    for (const auto& control : band.Controls()) PaintControl(*control, bandMm, pageNumber);
    if (band.BottomLine()) PaintBottomLine(bandMm);
    painter_.restore();
}

void BandPainter::PaintControl(const TQRPrintable& control, const QRectF& bandMm,
                               int pageNumber) {
    const QRectF device = mapping_.ToDevice(DesignToMm(control.Bounds(), bandMm.topLeft()));
    if (device.isEmpty()) return;
    if (auto* label = dynamic_cast<const TQRLabel*>(&control)) {
        PaintLabel(*label, device);
    } else if (auto* field = dynamic_cast<const TQRSysData*>(&control)) {
        PaintSysData(*field, device, pageNumber);
    } else if (auto* image = dynamic_cast<const TQRImage*>(&control)) {
        PaintImage(*image, device);
    }
}

void BandPainter::PaintLabel(const TQRLabel& label, const QRectF& device) {
    DrawCaption(painter_, device, label.Caption(), {label.Font(), label.Alignment(), label.WordWrap()});
}

void BandPainter::PaintSysData(const TQRSysData& field, const QRectF& device, int pageNumber) {
    const QString value = SysDataValue(field.Data(), QDateTime::currentDateTime(), pageNumber,
                                       QLocale::system());
    const QString text = DecodeShiftJis(field.Text()) + value;
    DrawTextLines(painter_, device, QStringList{text}, {field.Font(), field.Alignment(), false});
}

void BandPainter::PaintImage(const TQRImage& image, const QRectF& device) {
    const QImage& picture = image.Picture();
    if (picture.isNull()) return;
    // The picture goes out as it is, one image pixel per picture pixel: any
    // resampling here by a non-integer factor would move module edges, and a
    // viewer or printer then sees the same modules at whatever resolution it
    // renders. The run already turned smoothing off for the whole report.
    const QImage compact = CompactPicture(picture);
    if (painter_.paintEngine()->type() == QPaintEngine::Picture) {
        // A recording engine (the print preview's) turns a drawn image into a
        // 32-bit pixmap, 256 KB for a 256-pixel picture, and keeps it for every
        // page it holds; a brush keeps the 1-bit picture as it is (8 KB).
        QBrush brush(compact);
        QTransform toDevice = QTransform::fromTranslate(device.left(), device.top());
        toDevice.scale(device.width() / compact.width(), device.height() / compact.height());
        brush.setTransform(toDevice);
        painter_.fillRect(device, brush);
        return;
    }
    painter_.drawImage(device, compact);
}

void BandPainter::PaintBottomLine(const QRectF& bandMm) {
    const double widthMm = DesignPixelsToMm(1);
    const QRectF lineMm(bandMm.left(), bandMm.bottom() - widthMm, bandMm.width(), widthMm);
    painter_.fillRect(mapping_.ToDevice(lineMm), kLineColor);
}

}  // namespace mosaiko
