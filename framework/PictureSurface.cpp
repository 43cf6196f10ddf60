#include "PictureSurface.h"

#include <algorithm>

#include "Exception.h"

namespace mosaiko {

TPictureSurface::TPictureSurface() {
    picture_.SetOnChange([this] { PictureChanged(); });
    canvas_ = std::make_unique<TBitmapCanvas>([this]() -> TBitmap& { return CanvasBitmap(); });
}

TPictureSurface::~TPictureSurface() { picture_.SetOnChange(nullptr); }

TBitmap& TPictureSurface::CanvasBitmap() {
    switch (picture_.Kind()) {
        case TGraphicKind::None: {
            TBitmap& bitmap = picture_.Bitmap();
            bitmap.SetSize(Width(), Height());
            return bitmap;
        }
        case TGraphicKind::Metafile:
            throw EInvalidOperation("Can only modify an image if it contains a bitmap");
        case TGraphicKind::Bitmap: break;
    }
    return *picture_.AsBitmap();
}

TCanvas& TPictureSurface::Canvas() {
    CanvasBitmap();
    return *canvas_;
}

void TPictureSurface::SetAutoSize(bool value) {
    autoSize_ = value;
    ApplyAutoSize();
    SettingsChanged();
}

void TPictureSurface::SetStretch(bool value) {
    stretch_ = value;
    SettingsChanged();
}

void TPictureSurface::SetWidth(int value) { ResizeSurface(QSize(std::max(value, 0), Height())); }

void TPictureSurface::SetHeight(int value) { ResizeSurface(QSize(Width(), std::max(value, 0))); }

void TPictureSurface::ApplyAutoSize() {
    if (!autoSize_) return;
    const QSize size(picture_.Width(), picture_.Height());
    // Called for every change of the picture: resize only when it differs.
    if (size.width() > 0 && size.height() > 0 && size != SurfaceSize()) ResizeSurface(size);
}

void TPictureSurface::PictureChanged() { ApplyAutoSize(); }

}  // namespace mosaiko
