#include "Image.h"

#include <QPainter>

namespace mosaiko {

TImage::TImage(QWidget* parent) : QWidget(parent) { resize(105, 105); }

// The picture outlives this part of the control: no more repaints from it.
TImage::~TImage() { Picture().SetOnChange(nullptr); }

void TImage::SetCenter(bool value) {
    center_ = value;
    update();
}

void TImage::PictureChanged() {
    cacheValid_ = false;
    TPictureSurface::PictureChanged();
    if (repaintAsked_) return;
    repaintAsked_ = true;
    update();
}

QRect TImage::DestRect() const {
    int w = Picture().Width();
    int h = Picture().Height();
    const int cw = width();
    const int ch = height();
    if (Stretch()) {
        w = cw;
        h = ch;
    }
    QRect rect(0, 0, w, h);
    if (center_) rect.translate((cw - w) / 2, (ch - h) / 2);
    return rect;
}

void TImage::paintEvent(QPaintEvent*) {
    repaintAsked_ = false;
    if (!Picture().HasGraphic()) return;
    const QRect dest = DestRect();
    if (dest.isEmpty()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (const TBitmap* bitmap = Picture().AsBitmap()) {
        if (bitmap->Empty()) return;
        if (!cacheValid_) {
            cache_ = bitmap->ToQImage();
            cacheValid_ = true;
        }
        painter.drawImage(dest, cache_);
    } else if (const TMetafile* metafile = Picture().AsMetafile()) {
        metafile->Play(painter, dest);
    }
}

}  // namespace mosaiko
