#include "TestSupport.h"

#include <QString>

#include "ShiftJis.h"

namespace mosaiko::test {

uint32_t RawPixel(const TBitmap& bitmap, int x, int y) {
    const uint8_t* row = bitmap.ScanLine(y);
    switch (bitmap.BitsPerPixel()) {
        case 1: return (row[x / 8] >> (7 - x % 8)) & 1;
        case 4: return x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0F;
        case 8: return row[x];
        case 16: return row[2 * x] | row[2 * x + 1] << 8;
        case 24: return row[3 * x] | row[3 * x + 1] << 8 | row[3 * x + 2] << 16;
        case 32: return row[4 * x] | row[4 * x + 1] << 8 | row[4 * x + 2] << 16 | uint32_t{row[4 * x + 3]} << 24;
    }
    return 0;
}

void FillRandom(TBitmap& bitmap, std::mt19937& random) {
    const int bpp = bitmap.BitsPerPixel();
    for (int y = 0; y < bitmap.Height(); ++y) {
        uint8_t* row = bitmap.ScanLine(y);
        const int usedBits = bitmap.Width() * bpp;
        for (int i = 0; i < (usedBits + 7) / 8; ++i) row[i] = static_cast<uint8_t>(random());
    }
}

std::string Sjis(const char* utf8) { return EncodeShiftJis(QString::fromUtf8(utf8)); }

QImage Rgb(const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }

}  // namespace mosaiko::test
