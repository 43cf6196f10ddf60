// Image control: a widget that shows a TPicture.
//
//   Picture()  the picture shown; any change to it repaints the control, and
//              with AutoSize the control takes the picture's size.
//   Canvas()   a canvas on the picture's bitmap. A picture holding nothing first
//              becomes a white bitmap of the control's Width x Height; a picture
//              holding a metafile raises EInvalidOperation (at Canvas() and at
//              any drawing call made while it does).
//   AutoSize   the control takes the picture's size whenever the picture
//              changes and has a non-zero size (and at once when switched on).
//   Stretch    the picture is drawn scaled to the whole control (no smoothing).
//   Center     the picture (at its own size, or stretched) is centred in the
//              control; otherwise it is drawn at the top-left corner.
// A new control is 105 x 105 pixels and holds nothing. paintEvent only draws:
// a bitmap pixel for pixel (nearest neighbour when stretched), a metafile by
// replaying it into the destination rectangle.
#pragma once

#include <QImage>
#include <QWidget>
#include <memory>

#include "BitmapCanvas.h"
#include "Picture.h"

namespace mosaiko {

class TImage : public QWidget {
    Q_OBJECT

public:
    explicit TImage(QWidget* parent = nullptr);
    ~TImage() override;

    TPicture& Picture() { return picture_; }
    const TPicture& Picture() const { return picture_; }
    TCanvas& Canvas();

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool value);
    bool Center() const { return center_; }
    void SetCenter(bool value);

    int Width() const { return width(); }
    int Height() const { return height(); }
    void SetWidth(int value);
    void SetHeight(int value);

    // Where the picture is drawn inside the control (its client rectangle).
    QRect DestRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    // Called on every change of the picture: AutoSize, then repaint.
    virtual void PictureChanged();

private:
    TBitmap& CanvasBitmap();
    void ApplyAutoSize();

    TPicture picture_;
    std::unique_ptr<TBitmapCanvas> canvas_;
    bool autoSize_ = false;
    bool stretch_ = false;
    bool center_ = false;
    mutable QImage cache_;  // the bitmap as shown, rebuilt after a change
    mutable bool cacheValid_ = false;
    // A repaint has been asked for and not yet drawn: painting a symbol
    // changes the picture once per run of dark modules, and one request
    // covers them all.
    bool repaintAsked_ = false;
};

}  // namespace mosaiko
