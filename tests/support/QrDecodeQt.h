// Test support: decoding a QR code shown in a QImage (any format).
#pragma once

#include <QImage>
#include <optional>

#include "QrDecode.h"

namespace mosaiko::test {

// The image is converted to 8-bit grey first, so colours decode as their luminance.
std::optional<Decoded> DecodeImage(const QImage& image);

}  // namespace mosaiko::test
