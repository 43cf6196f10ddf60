#include "PictureScaling.h"

#include <algorithm>
#include <cmath>

namespace mosaiko {
namespace {

constexpr int kMaxSide = 8192;
constexpr QRgb kBlack = 0xff000000;
constexpr QRgb kWhite = 0xffffffff;

}  // namespace

QImage CompactPicture(const QImage& picture) {
    if (picture.isNull() || picture.depth() == 1) return picture;
    // Opaque 32-bit pixels compare directly; only other formats need a copy.
    const bool direct = picture.format() == QImage::Format_RGB32 ||
                        picture.format() == QImage::Format_ARGB32;
    const QImage argb = direct ? picture : picture.convertToFormat(QImage::Format_ARGB32);
    QImage mono(argb.size(), QImage::Format_Mono);
    mono.setColorTable({kBlack, kWhite});
    mono.fill(1);
    for (int y = 0; y < argb.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        uchar* out = mono.scanLine(y);
        for (int x = 0; x < argb.width(); ++x) {
            if (in[x] == kBlack) out[x >> 3] &= static_cast<uchar>(~(0x80 >> (x & 7)));
            else if (in[x] != kWhite) return picture;
        }
    }
    return mono;
}

QImage PrintPicture(const QImage& picture, const QSizeF& targetPixels) {
    const double limit = std::min({1.0, kMaxSide / std::max(targetPixels.width(), 1.0),
                                   kMaxSide / std::max(targetPixels.height(), 1.0)});
    const QSize target(std::max(1, static_cast<int>(std::ceil(targetPixels.width() * limit))),
                       std::max(1, static_cast<int>(std::ceil(targetPixels.height() * limit))));
    const bool smaller = target.width() > picture.width() || target.height() > picture.height();
    const bool oversized =
        picture.width() > 2 * target.width() || picture.height() > 2 * target.height();
    if (!smaller && !oversized) return picture;
    return picture.scaled(target, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

}  // namespace mosaiko
