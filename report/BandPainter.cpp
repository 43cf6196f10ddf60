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
constexpr size_t kMaxDeviceFonts = 8;  // more than a form's distinct fonts
constexpr size_t kMaxWidthAnswers = 8;  // more than the date and time's candidates
constexpr size_t kMaxKeptLayouts = 32;  // more than a form's text controls

QRectF DesignToMm(const QRect& pixels, const QPointF& originMm) {
    return QRectF(originMm.x() + DesignPixelsToMm(pixels.left()),
                  originMm.y() + DesignPixelsToMm(pixels.top()),
                  DesignPixelsToMm(pixels.width()), DesignPixelsToMm(pixels.height()));
}

bool ControlsInside(const TReportBand& band, const QRectF& bandMm) {
    return std::all_of(band.Controls().begin(), band.Controls().end(), [&](const auto& control) {
        return bandMm.contains(DesignToMm(control->Bounds(), bandMm.topLeft()));
    });
}

}  // namespace

QRectF DeviceMapping::ToDevice(const QRectF& mm) const {
    return QRectF((mm.left() - originMm.x()) * pixelsPerMmX, (mm.top() - originMm.y()) * pixelsPerMmY,
                  mm.width() * pixelsPerMmX, mm.height() * pixelsPerMmY);
}

double DeviceMapping::DotsPerInchX() const { return pixelsPerMmX * kMillimetresPerInch; }

BandPainter::BandPainter(QPainter& painter, const DeviceMapping& mapping)
    : painter_(painter), mapping_(mapping) {}

void BandPainter::Paint(const TReportBand& band, const QPointF& topLeftMm, const QRectF& clipMm,
                        int pageNumber) {
    const QRectF bandMm(topLeftMm, QSizeF(band.Size().Width(), band.Size().Height()));
    const QRectF visibleMm = bandMm.intersected(clipMm);
    if (visibleMm.isEmpty()) return;
    painter_.save();
    // A clip and a white fill each repeat in every PDF element that follows;
    // a band wholly on the page whose controls lie inside it needs no clip,
    // and white on white paper needs no fill.
    if (visibleMm != bandMm || !ControlsInside(band, bandMm)) painter_.setClipRect(mapping_.ToDevice(visibleMm));
    if (band.Color() != QColor(Qt::white)) painter_.fillRect(mapping_.ToDevice(bandMm), band.Color());
    for (const auto& control : band.Controls()) PaintControl(*control, bandMm, pageNumber);
    if (band.BottomLine()) PaintBottomLine(bandMm);
    painter_.restore();
}

void BandPainter::PaintControl(const TReportPrintable& control, const QRectF& bandMm,
                               int pageNumber) {
    const QRectF device = mapping_.ToDevice(DesignToMm(control.Bounds(), bandMm.topLeft()));
    if (device.isEmpty()) return;
    if (auto* label = dynamic_cast<const TReportLabel*>(&control)) {
        PaintLabel(*label, device);
    } else if (auto* field = dynamic_cast<const TReportSysData*>(&control)) {
        PaintSysData(*field, device, pageNumber);
    } else if (auto* image = dynamic_cast<const TReportImage*>(&control)) {
        PaintImage(*image, device);
    }
}

void BandPainter::PaintLabel(const TReportLabel& label, const QRectF& device) {
    DrawCaption(painter_, device, label.Caption(), {DeviceFont(label.Font()), label.Alignment(), label.WordWrap()},
                &KeptLayoutOf(label));
}

KeptLayout& BandPainter::KeptLayoutOf(const TReportPrintable& control) {
    for (auto& [owner, kept] : keptLayouts_)
        if (owner == &control) return kept;
    if (keptLayouts_.size() >= kMaxKeptLayouts) keptLayouts_.clear();
    keptLayouts_.emplace_back(&control, KeptLayout());
    return keptLayouts_.back().second;
}

QFont BandPainter::DeviceFont(const QFont& font) {
    for (const auto& [control, resolved] : deviceFonts_)
        if (control.isCopyOf(font)) return resolved;
    if (deviceFonts_.size() >= kMaxDeviceFonts) deviceFonts_.clear();
    deviceFonts_.emplace_back(font, QFont(font, painter_.device()));
    return deviceFonts_.back().second;
}

void BandPainter::PaintSysData(const TReportSysData& field, const QRectF& device, int pageNumber) {
    const QString prefix = DecodeShiftJis(field.Text());
    const TextStyle style{DeviceFont(field.Font()), field.Alignment(), false};
    const QString value = SysDataText(field, device.width(), prefix, style, pageNumber);
    DrawTextLines(painter_, device, QStringList{prefix + value}, style, &KeptLayoutOf(field));
}

QString BandPainter::SysDataText(const TReportSysData& field, double width, const QString& prefix,
                                 const TextStyle& style, int pageNumber) {
    const auto fits = [&](const QString& value) { return FitsWidth(width, prefix + value, style); };
    if (field.Data() == TSysDataType::sdPageNumber)
        return SysDataValue(field.Data(), QDateTime(), pageNumber, QLocale::system(), fits);
    // The text shows seconds at most, so within one second it is the same;
    // reading the clock as seconds skips the local time's lookup per page.
    const qint64 second = QDateTime::currentSecsSinceEpoch();
    if (shownTime_.field != &field || shownTime_.width != width || shownTime_.second != second) {
        const QDateTime now = QDateTime::fromSecsSinceEpoch(second);
        shownTime_ = {&field, width, second, SysDataValue(field.Data(), now, pageNumber, QLocale::system(), fits)};
    }
    return shownTime_.value;
}

bool BandPainter::FitsWidth(double width, const QString& line, const TextStyle& style) {
    for (const WidthAnswer& a : widthAnswers_)
        if (a.width == width && a.alignment == style.alignment && a.wordWrap == style.wordWrap &&
            a.font.isCopyOf(style.font) && a.line == line)
            return a.fits;
    if (widthAnswers_.size() >= kMaxWidthAnswers) widthAnswers_.clear();
    const bool fits = LineFitsWidth(painter_.device(), width, line, style);
    widthAnswers_.push_back({line, width, style.font, style.alignment, style.wordWrap, fits});
    return fits;
}

void BandPainter::PaintImage(const TReportImage& image, const QRectF& device) {
    const QImage& picture = image.Picture();
    if (picture.isNull()) return;
    // The picture goes out as it is, one image pixel per picture pixel: any
    // resampling here by a non-integer factor would move module edges, and a
    // viewer or printer then sees the same modules at whatever resolution it
    // renders. The run already turned smoothing off for the whole report.
    const QImage compact = CompactPicture(picture);
    const QRect part = image.InkMargin() < 0 ? compact.rect() : InkRect(compact, image.InkMargin());
    if (part.isEmpty()) return;
    const QSize whole = image.Frame().isEmpty() ? compact.size() : image.Frame();
    const double scaleX = device.width() / whole.width();
    const double scaleY = device.height() / whole.height();
    const QRectF target(device.left() + part.left() * scaleX, device.top() + part.top() * scaleY,
                        part.width() * scaleX, part.height() * scaleY);
    const QImage shown = part == compact.rect() ? compact : PicturePart(compact, part);
    if (painter_.paintEngine()->type() == QPaintEngine::Picture) {
        // A recording engine (the print preview's) turns a drawn image into a
        // 32-bit pixmap, 256 KB for a 256-pixel picture, and keeps it for every
        // page it holds; a brush keeps the 1-bit picture as it is (8 KB).
        QBrush brush(shown);
        QTransform toDevice = QTransform::fromTranslate(target.left(), target.top());
        toDevice.scale(scaleX, scaleY);
        brush.setTransform(toDevice);
        painter_.fillRect(target, brush);
        return;
    }
    painter_.drawImage(target, shown);
}

void BandPainter::PaintBottomLine(const QRectF& bandMm) {
    const double widthMm = DesignPixelsToMm(1);
    const QRectF lineMm(bandMm.left(), bandMm.bottom() - widthMm, bandMm.width(), widthMm);
    painter_.fillRect(mapping_.ToDevice(lineMm), kLineColor);
}

}  // namespace mosaiko
