#include "QrDecodeQt.h"

namespace mosaiko::test {

std::optional<Decoded> DecodeImage(const QImage& image) {
    if (image.isNull()) return std::nullopt;
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    return DecodeImage(grey.constBits(), grey.width(), grey.height(), static_cast<int>(grey.bytesPerLine()));
}

}  // namespace mosaiko::test
