#include "PictureScaling.h"

#include "BlackWhiteLine.h"

#include <algorithm>
#include <bit>
#include <cstdint>

namespace mosaiko {

QImage CompactPicture(const QImage& picture) {
    if (picture.isNull() || picture.depth() == 1) return picture;
    // Opaque 32-bit pixels compare directly; only other formats need a copy.
    const bool direct = picture.format() == QImage::Format_RGB32 ||
                        picture.format() == QImage::Format_ARGB32;
    const QImage argb = direct ? picture : picture.convertToFormat(QImage::Format_ARGB32);
    QImage mono(argb.size(), QImage::Format_Mono);
    mono.setColorTable({kOpaqueBlack, kOpaqueWhite});
    const int width = argb.width();  // an out-of-line call: read once
    for (int y = 0; y < argb.height(); ++y) {
        const auto* in = reinterpret_cast<const uint32_t*>(argb.constScanLine(y));
        if (!PackBlackWhiteLine(in, width, 0, mono.scanLine(y))) return picture;
    }
    return mono;
}

namespace {

// The first and last dark columns of a one-bit row (most significant bit
// first), where dark pixels have the bit value ink; false when it has none.
bool InkColumns(const uchar* row, int width, bool ink, int& first, int& last) {
    const int bytes = (width + 7) / 8;
    const uchar flip = ink ? 0x00 : 0xFF;  // dark pixels become one bits
    const uchar tail = static_cast<uchar>(0xFF << (bytes * 8 - width));  // bits past the width
    auto darkBits = [&](int i) {
        const uchar b = static_cast<uchar>(row[i] ^ flip);
        return i == bytes - 1 ? static_cast<uchar>(b & tail) : b;
    };
    int lo = 0;
    while (lo < bytes && darkBits(lo) == 0) ++lo;
    if (lo == bytes) return false;
    int hi = bytes - 1;
    while (darkBits(hi) == 0) --hi;
    first = lo * 8 + std::countl_zero(darkBits(lo));
    last = hi * 8 + 7 - std::countr_zero(darkBits(hi));
    return true;
}

// The bit value of white in a two-colour one-bit picture, -1 when neither is.
int WhiteBit(const QImage& picture) {
    if (picture.format() != QImage::Format_Mono || picture.colorCount() != 2) return -1;
    const QRgb white = qRgb(255, 255, 255);
    for (int bit = 0; bit < 2; ++bit)
        if ((picture.color(bit) | 0xFF000000u) == white) return bit;
    return -1;
}

}  // namespace

QRect InkRect(const QImage& picture, int margin) {
    const int whiteBit = WhiteBit(picture);
    if (whiteBit < 0) return picture.rect();
    const bool ink = whiteBit == 0;  // the bit value of a dark pixel
    int left = picture.width(), right = -1, top = -1, bottom = -1;
    for (int y = 0; y < picture.height(); ++y) {
        int first = 0, last = 0;
        if (!InkColumns(picture.constScanLine(y), picture.width(), ink, first, last)) continue;
        if (top < 0) top = y;
        bottom = y;
        left = std::min(left, first);
        right = std::max(right, last);
    }
    if (top < 0) return QRect();
    return QRect(QPoint(left, top), QPoint(right, bottom)).adjusted(-margin, -margin, margin, margin) &
           picture.rect();
}

QImage PicturePart(const QImage& picture, const QRect& part) {
    QImage copy = picture.copy(part);
    const int whiteBit = WhiteBit(copy);
    const int spare = (8 - copy.width() % 8) % 8;  // bits after the last pixel
    if (whiteBit < 0 || spare == 0) return copy;
    const int last = (copy.width() - 1) / 8;
    const uchar mask = static_cast<uchar>((1u << spare) - 1);
    for (int y = 0; y < copy.height(); ++y) {
        uchar* row = copy.scanLine(y);
        row[last] = whiteBit ? static_cast<uchar>(row[last] | mask) : static_cast<uchar>(row[last] & ~mask);
    }
    return copy;
}

}  // namespace mosaiko
