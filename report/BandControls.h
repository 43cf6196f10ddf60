// The things a band carries: labels, pictures and system-data fields. This is
// the data model only; BandPainter draws them.
#pragma once

#include <QDateTime>
#include <QFont>
#include <QImage>
#include <QLocale>
#include <QRect>
#include <QString>
#include <functional>
#include <string>

namespace mosaiko {

enum class TAlignment { taLeftJustify, taCenter, taRightJustify };

// Anything placed on a band. Bounds are design pixels (96 per inch) relative
// to the band's top-left corner.
class TReportPrintable {
public:
    virtual ~TReportPrintable() = default;
    TReportPrintable(const TReportPrintable&) = delete;
    TReportPrintable& operator=(const TReportPrintable&) = delete;

    QRect Bounds() const { return bounds_; }
    // A rectangle with a negative or absurdly large extent is ignored.
    void SetBounds(const QRect& bounds);
    int Left() const { return bounds_.left(); }
    int Top() const { return bounds_.top(); }
    int Width() const { return bounds_.width(); }
    int Height() const { return bounds_.height(); }
    void SetLeft(int left);
    void SetTop(int top);
    void SetWidth(int width);
    void SetHeight(int height);

protected:
    TReportPrintable() = default;

private:
    QRect bounds_{0, 0, 64, 17};
};

// Shared by the text-drawing controls: font and horizontal alignment.
class TReportCustomLabel : public TReportPrintable {
public:
    const QFont& Font() const { return font_; }
    // A font given in pixels is taken as design pixels and kept in points.
    void SetFont(const QFont& font);
    double FontSize() const { return font_.pointSizeF(); }
    // Sizes outside 1-1000 points are ignored.
    void SetFontSize(double points);
    void SetFontName(const QString& family) { font_.setFamily(family); }

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment) { alignment_ = alignment; }

protected:
    TReportCustomLabel();

private:
    QFont font_;
    TAlignment alignment_ = TAlignment::taLeftJustify;
};

// Fixed text. The caption is Shift-JIS bytes; a carriage return starts a new
// line, line feeds are dropped. The text never grows the label: whatever does
// not fit its bounds is clipped.
class TReportLabel : public TReportCustomLabel {
public:
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption) { caption_ = std::move(caption); }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool on) { wordWrap_ = on; }

private:
    std::string caption_;
    bool wordWrap_ = false;
};

// A picture stretched to the control's bounds without smoothing.
class TReportImage : public TReportPrintable {
public:
    const QImage& Picture() const { return picture_; }
    void SetPicture(const QImage& picture) { picture_ = picture; }
    // When not negative, a black-and-white picture goes out as only its dark
    // part and this many pixels of white around it (InkRect); the rest is
    // left to the white paper. Negative (the default): the whole picture.
    int InkMargin() const { return inkMargin_; }
    void SetInkMargin(int pixels) { inkMargin_ = pixels; }
    // When not empty, the picture is the top-left part of a white picture of
    // this size, and that whole picture is what stretches to the bounds: a
    // symbol given without the white around it prints where and as large as
    // it would in its full picture. Empty (the default): the picture itself.
    QSize Frame() const { return frame_; }
    void SetFrame(QSize frame) { frame_ = frame; }

private:
    QImage picture_;
    int inkMargin_ = -1;
    QSize frame_;
};

enum class TSysDataType { sdDateTime, sdPageNumber };

// A value the engine fills in as the band is printed.
class TReportSysData : public TReportCustomLabel {
public:
    TSysDataType Data() const { return data_; }
    void SetData(TSysDataType data) { data_ = data; }
    // Shift-JIS text printed in front of the value.
    const std::string& Text() const { return text_; }
    void SetText(std::string text) { text_ = std::move(text); }

private:
    TSysDataType data_ = TSysDataType::sdDateTime;
    std::string text_;
};

// The value of a system-data field: short date, then a space and the long
// time unless the time is exactly midnight; or the page number in digits.
// With `fits`, a date and time too wide for the field loses the time zone,
// then the seconds (the short form, or the long one without them), then the
// time, so the date always shows whole.
QString SysDataValue(TSysDataType data, const QDateTime& now, int pageNumber,
                     const QLocale& locale, const std::function<bool(const QString&)>& fits = {});

}  // namespace mosaiko
