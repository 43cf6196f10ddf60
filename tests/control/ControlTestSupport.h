// Helpers for the control tests: a control that counts its regenerations,
// the picture as an image, and cutting cells out of a grid.
#pragma once

#include <QImage>
#include <QRect>
#include <string>

#include "QRCode3.h"

namespace mosaiko::test {

// A control that counts OnPaintSymbol calls and exposes the consistency check.
class CountingQRCode : public TQRCode {
public:
    CountingQRCode();
    int paints = 0;
    using TQRCode::CheckColumn;
    using TQRCode::CheckSettings;
};

// The picture as shown: a bitmap's pixels, or a metafile replayed on white.
QImage PictureImage(const TQRCode& control);

// Cell k (1-based) of the block whose top-left corner is (left, top) in the
// unturned picture.
QRect CellRect(const TQRCode& control, int k, int left, int top);

// Whether every pixel of the image inside rect (clipped) has colour rgb.
bool AllPixels(const QImage& image, const QRect& rect, QRgb rgb);

// The bytes of piece k of the control's last split.
std::string Piece(const TQRCode& control, int k);

// A text of `length` printable bytes, different for each seed.
std::string SampleText(int length, int seed = 0);

}  // namespace mosaiko::test
