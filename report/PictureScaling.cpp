#include "PictureScaling.h"

#include "BlackWhiteLine.h"

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

}  // namespace mosaiko
