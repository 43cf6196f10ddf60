// Preparing pictures for print: a QR picture goes out pixel for pixel, and as
// one bit per pixel it stays small in the PDF and cheap to compress.
#pragma once

#include <QImage>

namespace mosaiko {

// A picture of pure opaque black and white as one bit per pixel, black at
// index 0, which the PDF writer stores as a 1-bit grey image. Any other
// picture is returned unchanged.
QImage CompactPicture(const QImage& picture);

// The part of a one-bit picture that holds its dark pixels (those whose
// colour is not white), widened by margin pixels on every side and cut to
// the picture; empty when the picture is all white. Any other picture is
// shown whole. What lies outside is white, like the paper, so drawing only
// this part prints the same page with a smaller image (at version 20 the
// white round the symbol's quiet zone cost 80 to 100 bytes per image).
QRect InkRect(const QImage& picture, int margin);

// The part of the picture as an image of its own. In a one-bit copy the bits
// after the last pixel of each row are made white: QImage leaves them as they
// were in memory, and the PDF writer stores and compresses them with the row.
QImage PicturePart(const QImage& picture, const QRect& part);

}  // namespace mosaiko
