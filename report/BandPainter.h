// Draws bands and their controls onto one page of a paint device. Knows
// nothing of records or page breaks; ReportRun decides where bands go.
#pragma once

#include "LabelText.h"
#include "ReportBand.h"

#include <QFont>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <utility>
#include <vector>

namespace mosaiko {

// From paper millimetres to the device pixels of the painter.
struct DeviceMapping {
    double pixelsPerMmX = 1;
    double pixelsPerMmY = 1;
    QPointF originMm;  // the paper point at the painter's (0, 0)

    QRectF ToDevice(const QRectF& mm) const;
    double DotsPerInchX() const;
};

class BandPainter {
public:
    BandPainter(QPainter& painter, const DeviceMapping& mapping);

    // Paints band with its top-left corner at topLeftMm on the paper; nothing
    // is drawn outside clipMm (the area inside the page margins).
    void Paint(const TReportBand& band, const QPointF& topLeftMm, const QRectF& clipMm,
               int pageNumber);

private:
    void PaintControl(const TReportPrintable& control, const QRectF& bandMm, int pageNumber);
    void PaintLabel(const TReportLabel& label, const QRectF& device);
    void PaintSysData(const TReportSysData& field, const QRectF& device, int pageNumber);
    void PaintImage(const TReportImage& image, const QRectF& device);
    void PaintBottomLine(const QRectF& bandMm);
    // The control's font resolved for the device once: every layout made with
    // it shares its font engines instead of looking them up for each text.
    QFont DeviceFont(const QFont& font);
    // LineFitsWidth, answered again without a layout for a text tested
    // before: the date and time repeat on every page.
    bool FitsWidth(double width, const QString& line, const TextStyle& style);
    // The layout of the text the control drew last.
    KeptLayout& KeptLayoutOf(const TReportPrintable& control);
    // The field's value; a date and time is made once a second and kept.
    QString SysDataText(const TReportSysData& field, double width, const QString& prefix, const TextStyle& style,
                        int pageNumber);

    QPainter& painter_;
    DeviceMapping mapping_;
    std::vector<std::pair<QFont, QFont>> deviceFonts_;  // a control's font and its resolved copy; a few
    struct WidthAnswer {
        QString line;
        double width;
        QFont font;
        TAlignment alignment;
        bool wordWrap;
        bool fits;
    };
    std::vector<WidthAnswer> widthAnswers_;  // the field's last candidates; a few
    std::vector<std::pair<const TReportPrintable*, KeptLayout>> keptLayouts_;  // one a control drawn
    struct ShownTime {
        const TReportSysData* field = nullptr;
        double width = 0;
        qint64 second = 0;
        QString value;
    };
    ShownTime shownTime_;  // the date and time a field showed last
};

}  // namespace mosaiko
