// Preparing pictures for print: a QR picture goes out pixel for pixel, and as
// one bit per pixel it stays small in the PDF and cheap to compress.
#pragma once

#include <QImage>

namespace mosaiko {

// A picture of pure opaque black and white as one bit per pixel, black at
// index 0, which the PDF writer stores as a 1-bit grey image. Any other
// picture is returned unchanged.
QImage CompactPicture(const QImage& picture);

}  // namespace mosaiko
