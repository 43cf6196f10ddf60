// Test support: decoding our symbols with a real decoder (zxing-cpp).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mosaiko {
class QrEncoder;
}

namespace mosaiko::test {

struct Decoded {
    std::string bytes;      // the symbol's data bytes as decoded
    std::string ecLevel;    // "L", "M", "Q" or "H"
    int sequenceIndex = -1; // structured append: 0-based position, -1 otherwise
    int sequenceSize = -1;  // structured append: number of symbols
    std::string sequenceId; // structured append: parity as text
};

// 8-bit grey image, 0 = black, 255 = white.
struct GreyImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
};

// Draws the finished symbol in the encoder's matrix with a 4-module quiet zone.
GreyImage RenderSymbol(const QrEncoder& encoder, int scale = 2);

// Decodes one QR code in the image; nothing when none is found.
std::optional<Decoded> DecodeImage(const GreyImage& image);
std::optional<Decoded> DecodeImage(const uint8_t* grey, int width, int height, int stride);

// Decodes every QR code in the image (a whole page, say), top to bottom.
std::vector<Decoded> DecodeAll(const uint8_t* grey, int width, int height, int stride);

// Renders and decodes the encoder's current symbol.
std::optional<Decoded> DecodeSymbol(const QrEncoder& encoder);

}  // namespace mosaiko::test
