// Image control: a widget that shows a TPicture. Picture, Canvas, AutoSize and
// the size come from TPictureSurface, with the widget's geometry as the size;
// any change to the picture also repaints the control.
//
//   Stretch    the picture is drawn scaled to the whole control (no smoothing).
//   Center     the picture (at its own size, or stretched) is centred in the
//              control; otherwise it is drawn at the top-left corner.
// A new control is 105 x 105 pixels and holds nothing. paintEvent only draws:
// a bitmap pixel for pixel (nearest neighbour when stretched), a metafile by
// replaying it into the destination rectangle.
#pragma once

#include <QImage>
#include <QWidget>

#include "PictureSurface.h"

namespace mosaiko {

class TImage : public QWidget, public TPictureSurface {
    Q_OBJECT

public:
    explicit TImage(QWidget* parent = nullptr);
    ~TImage() override;

    bool Center() const { return center_; }
    void SetCenter(bool value);

    // Where the picture is drawn inside the control (its client rectangle).
    QRect DestRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    QSize SurfaceSize() const override { return size(); }
    void ResizeSurface(QSize to) override { resize(to); }
    // Called on every change of the picture: AutoSize, then repaint.
    void PictureChanged() override;
    void SettingsChanged() override { update(); }

private:
    bool center_ = false;
    mutable QImage cache_;  // the bitmap as shown, rebuilt after a change
    mutable bool cacheValid_ = false;
    // A repaint has been asked for and not yet drawn: painting a symbol
    // changes the picture once per run of dark modules, and one request
    // covers them all.
    bool repaintAsked_ = false;
};

}  // namespace mosaiko
