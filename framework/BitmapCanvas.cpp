#include "BitmapCanvas.h"

#include <QImage>
#include <QPainter>

#include "ShiftJis.h"
#include "TextRender.h"

namespace mosaiko {
namespace {

constexpr int kDotsPerMeter96 = 3780;

// Runs paint with a QPainter on the bitmap's pixels.
template <typename Paint>
void PaintOnBitmap(TBitmap& bitmap, Paint paint) {
    if (bitmap.Empty()) return;
    QImage::Format direct = QImage::Format_Invalid;
    switch (bitmap.PixelFormat()) {
        case pf32bit: direct = QImage::Format_RGB32; break;
        case pf24bit: direct = QImage::Format_BGR888; break;
        case pf16bit: direct = QImage::Format_RGB555; break;
        default: break;
    }
    if (direct != QImage::Format_Invalid) {
        QImage image(bitmap.ScanLine(0), bitmap.Width(), bitmap.Height(), bitmap.BytesPerLine(), direct);
        image.setDotsPerMeterX(kDotsPerMeter96);
        image.setDotsPerMeterY(kDotsPerMeter96);
        QPainter painter(&image);
        paint(painter);
        return;
    }
    const QImage before = bitmap.ToQImage();
    QImage image = before.copy();
    image.setDotsPerMeterX(kDotsPerMeter96);
    image.setDotsPerMeterY(kDotsPerMeter96);
    {
        QPainter painter(&image);
        paint(painter);
    }
    for (int y = 0; y < image.height(); ++y) {
        const auto* was = reinterpret_cast<const QRgb*>(before.constScanLine(y));
        const auto* now = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (was[x] != now[x]) bitmap.SetPixel(x, y, RgbToColor(now[x]));
    }
}

}  // namespace

TBitmapCanvas::TBitmapCanvas(TBitmap& bitmap) : target_([&bitmap]() -> TBitmap& { return bitmap; }) {}

TBitmapCanvas::TBitmapCanvas(std::function<TBitmap&()> target) : target_(std::move(target)) {}

void TBitmapCanvas::FillRect(int left, int top, int right, int bottom) {
    TBitmap& bitmap = target_();
    if (brush_.Style() == bsClear) return;
    bitmap.FillRect(left, top, right, bottom, brush_.Color());
    bitmap.Changed();
}

void TBitmapCanvas::FillRects(const TRect* rects, int count) {
    TBitmap& bitmap = target_();
    if (brush_.Style() == bsClear) return;
    bitmap.FillRects(rects, count, brush_.Color());
    bitmap.Changed();
}

void TBitmapCanvas::FillCells(const TCellGrid& grid) {
    TBitmap& bitmap = target_();
    if (brush_.Style() == bsClear) return;
    bitmap.FillCells(grid, brush_.Color());
    bitmap.Changed();
}

void TBitmapCanvas::TextOut(int x, int y, const std::string& shiftJis) {
    TBitmap& bitmap = target_();
    const QString text = DecodeShiftJis(shiftJis);
    if (text.isEmpty()) return;
    const QFont font = font_.ToQFont();
    const QSize extent = MeasureText(font, text);
    if (brush_.Style() != bsClear)
        bitmap.FillRect(x, y, x + extent.width(), y + extent.height(), brush_.Color());
    const TColor color = font_.Color();
    PaintOnBitmap(bitmap, [&](QPainter& painter) { DrawTextAt(painter, font, color, x, y, text); });
    bitmap.Changed();
}

}  // namespace mosaiko
