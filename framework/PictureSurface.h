// A picture with a size of its own to paint on, with or without a widget.
//
//   Picture()  the picture; any change to it calls PictureChanged (AutoSize).
//   Canvas()   a canvas on the picture's bitmap. A picture holding nothing first
//              becomes a white bitmap of the surface's Width x Height; a picture
//              holding a metafile raises EInvalidOperation (at Canvas() and at
//              any drawing call made while it does).
//   AutoSize   the surface takes the picture's size whenever the picture
//              changes and has a non-zero size (and at once when switched on).
//   Stretch    kept for whoever shows the surface: the picture scaled to it.
// The size itself belongs to the implementation: a widget's own geometry
// (TImage), or two numbers (TPictureHolder).
#pragma once

#include <QSize>
#include <memory>

#include "BitmapCanvas.h"
#include "Picture.h"

namespace mosaiko {

class TPictureSurface {
public:
    TPictureSurface();
    virtual ~TPictureSurface();
    TPictureSurface(const TPictureSurface&) = delete;
    TPictureSurface& operator=(const TPictureSurface&) = delete;

    TPicture& Picture() { return picture_; }
    const TPicture& Picture() const { return picture_; }
    TCanvas& Canvas();

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool value);

    int Width() const { return SurfaceSize().width(); }
    int Height() const { return SurfaceSize().height(); }
    void SetWidth(int value);
    void SetHeight(int value);

protected:
    virtual QSize SurfaceSize() const = 0;
    virtual void ResizeSurface(QSize size) = 0;
    // Called on every change of the picture: AutoSize.
    virtual void PictureChanged();
    // Called when AutoSize or Stretch is set, for a surface that is shown.
    virtual void SettingsChanged() {}

private:
    TBitmap& CanvasBitmap();
    void ApplyAutoSize();

    TPicture picture_;
    std::unique_ptr<TBitmapCanvas> canvas_;
    bool autoSize_ = false;
    bool stretch_ = false;
};

// A surface of its own size, for programs without widgets. A new holder is
// 105 x 105 pixels, as a new image control is, and holds nothing.
class TPictureHolder : public TPictureSurface {
public:
    explicit TPictureHolder(int width = 105, int height = 105) : size_(width, height) {}

protected:
    QSize SurfaceSize() const override { return size_; }
    void ResizeSurface(QSize to) override { size_ = to; }

private:
    QSize size_;
};

}  // namespace mosaiko
