// Black-and-white pictures as one bit per pixel: QR pictures are pure black
// and white, and a 1-bit copy is a 32nd of the memory and cheap to compress.
#pragma once

#include <array>
#include <cstdint>

namespace mosaiko {

inline constexpr uint32_t kOpaqueBlack = 0xff000000u;
inline constexpr uint32_t kOpaqueWhite = 0xffffffffu;

// Byte i with its bit order reversed: pixels gathered with bit k for pixel k
// become a 1-bit line, whose leftmost pixel is the top bit.
inline constexpr std::array<uint8_t, 256> kReversedBits = [] {
    std::array<uint8_t, 256> table{};
    for (int i = 0; i < 256; ++i)
        for (int k = 0; k < 8; ++k)
            if (i & (1 << k)) table[i] |= static_cast<uint8_t>(0x80 >> k);
    return table;
}();
static_assert(kReversedBits[0x01] == 0x80 && kReversedBits[0x0f] == 0xf0);

// Packs one line of 0xAARRGGBB pixels into a 1-bit line (most significant
// bit leftmost, set bits white), each pixel OR-ed with `ignored` first: a
// pixel is black at 0xff000000, white at 0xffffffff. Answers false when any
// pixel is neither (out is then unfinished).
bool PackBlackWhiteLine(const uint32_t* in, int width, uint32_t ignored, uint8_t* out);

}  // namespace mosaiko
