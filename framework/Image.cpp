#include "Image.h"

#include <QPainter>
#include <algorithm>

#include "Exception.h"

namespace mosaiko {

TImage::TImage(QWidget* parent) : QWidget(parent) {
    resize(105, 105);
    picture_.SetOnChange([this] { PictureChanged(); });
    canvas_ = std::make_unique<TBitmapCanvas>([this]() -> TBitmap& { return CanvasBitmap(); });
}

TImage::~TImage() { picture_.SetOnChange(nullptr); }

TBitmap& TImage::CanvasBitmap() {
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

TCanvas& TImage::Canvas() {
    CanvasBitmap();
    return *canvas_;
}

void TImage::SetAutoSize(bool value) {
    autoSize_ = value;
    ApplyAutoSize();
    update();
}

void TImage::SetStretch(bool value) {
    stretch_ = value;
    update();
}

void TImage::SetCenter(bool value) {
    center_ = value;
    update();
}

void TImage::SetWidth(int value) { resize(std::max(value, 0), height()); }

void TImage::SetHeight(int value) { resize(width(), std::max(value, 0)); }

void TImage::ApplyAutoSize() {
    if (!autoSize_) return;
    const QSize size(picture_.Width(), picture_.Height());
    // Called for every change of the picture: resize only when it differs.
    if (size.width() > 0 && size.height() > 0 && size != this->size()) resize(size);
}

void TImage::PictureChanged() {
    cacheValid_ = false;
    ApplyAutoSize();
    if (repaintAsked_) return;
    repaintAsked_ = true;
    update();
}

QRect TImage::DestRect() const {
    int w = picture_.Width();
    int h = picture_.Height();
    const int cw = width();
    const int ch = height();
    if (stretch_) {
        w = cw;
        h = ch;
    }
    QRect rect(0, 0, w, h);
    if (center_) rect.translate((cw - w) / 2, (ch - h) / 2);
    return rect;
}

void TImage::paintEvent(QPaintEvent*) {
    repaintAsked_ = false;
    if (!picture_.HasGraphic()) return;
    const QRect dest = DestRect();
    if (dest.isEmpty()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (const TBitmap* bitmap = picture_.AsBitmap()) {
        if (bitmap->Empty()) return;
        if (!cacheValid_) {
            cache_ = bitmap->ToQImage();
            cacheValid_ = true;
        }
        painter.drawImage(dest, cache_);
    } else if (const TMetafile* metafile = picture_.AsMetafile()) {
        metafile->Play(painter, dest);
    }
}

}  // namespace mosaiko
