// Page setup of a report, in millimetres: A4 portrait paper, whose length may
// be changed, with four margins.
#pragma once

#include <QPageLayout>

namespace mosaiko {

class TReportPage {
public:
    double Width() const { return width_; }
    double Length() const { return length_; }
    double TopMargin() const { return top_; }
    double BottomMargin() const { return bottom_; }
    double LeftMargin() const { return left_; }
    double RightMargin() const { return right_; }
    int Zoom() const { return zoom_; }

    // Every setter ignores a value that is out of range or that would leave
    // less than kMinPrintable millimetres between opposite margins.
    void SetLength(double mm);
    void SetTopMargin(double mm);
    void SetBottomMargin(double mm);
    void SetLeftMargin(double mm);
    void SetRightMargin(double mm);
    // Preview magnification in percent, 10-400.
    void SetZoom(int percent);

    // The area inside the margins, in millimetres from the paper's corner.
    double PrintableTop() const { return top_; }
    double PrintableBottom() const { return length_ - bottom_; }
    double PrintableWidth() const { return width_ - left_ - right_; }

    // The paper with no margins: the engine places everything itself.
    QPageLayout PaperLayout() const;

    static constexpr double kMinPrintable = 10.0;

private:
    double width_ = 210.0;
    double length_ = 297.0;
    double top_ = 10.0;
    double bottom_ = 10.0;
    double left_ = 10.0;
    double right_ = 10.0;
    int zoom_ = 100;
};

}  // namespace mosaiko
