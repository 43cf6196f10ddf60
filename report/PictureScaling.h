// Preparing pictures for print: QR symbols must keep hard module edges, and a
// long report must not spend its time compressing pixels.
#pragma once

#include <QImage>
#include <QSizeF>

namespace mosaiko {

// A picture of pure opaque black and white as one bit per pixel, black at
// index 0, which the PDF writer stores as a 1-bit grey image. Any other
// picture is returned unchanged.
QImage CompactPicture(const QImage& picture);

// The picture resized by repeating or dropping pixels to about targetPixels
// (at most 8192 per side): enlarged so no later scaling needs to smooth it,
// and reduced when it is more than twice the target so an oversized picture
// does not bloat the output. Anything in between is returned unchanged.
QImage PrintPicture(const QImage& picture, const QSizeF& targetPixels);

}  // namespace mosaiko
