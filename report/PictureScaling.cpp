#include "PictureScaling.h"

namespace mosaiko {
namespace {

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

}  // namespace mosaiko
