// Helpers shared by the framework tests. RawPixel reads a pixel straight from
// the scan lines following the documented DIB packing, independently of the
// bitmap's own accessors.
#pragma once

#include <QImage>
#include <cstdint>
#include <ostream>
#include <random>
#include <string>

#include "Bitmap.h"

namespace mosaiko {
// Shows a pixel format as "pf24bit" in test names and messages.
inline void PrintTo(TPixelFormat format, std::ostream* os) { *os << "pf" << BitsPerPixelOf(format) << "bit"; }
}  // namespace mosaiko

namespace mosaiko::test {

uint32_t RawPixel(const TBitmap& bitmap, int x, int y);
// Fills every pixel (not the row padding) with random stored values.
void FillRandom(TBitmap& bitmap, std::mt19937& random);
// "日本語" and friends in code page 932.
std::string Sjis(const char* utf8);
// Pixels of a widget or image as RGB (alpha dropped).
QImage Rgb(const QImage& image);

}  // namespace mosaiko::test
