// A horizontal strip of a report page with the controls placed on it.
#pragma once

#include "BandControls.h"

#include <QColor>
#include <QRect>
#include <memory>
#include <vector>

namespace mosaiko {

enum class TBandType { rbPageHeader, rbDetail };

// A band's size in millimetres; the band's pixel size follows from it.
class TBandSize {
public:
    double Height() const { return height_; }
    double Width() const { return width_; }
    // Values that are not positive or exceed 10 metres are ignored.
    void SetHeight(double mm);
    void SetWidth(double mm);

private:
    double height_ = 10.0;
    double width_ = 190.0;
};

class TReportBand {
public:
    explicit TReportBand(TBandType type) : type_(type) {}
    TReportBand(const TReportBand&) = delete;
    TReportBand& operator=(const TReportBand&) = delete;

    TBandType BandType() const { return type_; }

    TBandSize& Size() { return size_; }
    const TBandSize& Size() const { return size_; }

    // Bounds in design pixels (96 per inch). Only width and height matter to
    // the layout; the engine places the band itself.
    QRect Bounds() const;
    void SetBounds(const QRect& bounds);
    int Height() const { return Bounds().height(); }
    int Width() const { return Bounds().width(); }
    void SetHeight(int pixels);
    void SetWidth(int pixels);

    QColor Color() const { return color_; }
    void SetColor(const QColor& color) { color_ = color; }
    // A thin grey line along the band's bottom edge.
    bool BottomLine() const { return bottomLine_; }
    void SetBottomLine(bool on) { bottomLine_ = on; }

    // The band owns its controls; the pointers stay valid as long as the band.
    TReportLabel* AddLabel();
    TReportImage* AddImage();
    TReportSysData* AddSysData();
    const std::vector<std::unique_ptr<TReportPrintable>>& Controls() const { return controls_; }

private:
    template <typename T>
    T* Add();

    TBandType type_;
    TBandSize size_;
    QPoint position_{38, 38};
    QColor color_{Qt::white};
    bool bottomLine_ = false;
    std::vector<std::unique_ptr<TReportPrintable>> controls_;
};

}  // namespace mosaiko
