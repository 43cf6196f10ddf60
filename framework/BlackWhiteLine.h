// Black-and-white pictures as one bit per pixel: QR pictures are pure black
// and white, and a 1-bit copy is a 32nd of the memory and cheap to compress.
#pragma once

#include <cstdint>

namespace mosaiko {

inline constexpr uint32_t kOpaqueBlack = 0xff000000u;
inline constexpr uint32_t kOpaqueWhite = 0xffffffffu;

// Each byte of v with its bit order reversed: pixels gathered with bit k for
// pixel k become a 1-bit line, whose leftmost pixel is the top bit.
constexpr uint64_t ReversedBitsInBytes(uint64_t v) {
    v = (v >> 1 & 0x5555555555555555u) | (v & 0x5555555555555555u) << 1;
    v = (v >> 2 & 0x3333333333333333u) | (v & 0x3333333333333333u) << 2;
    return (v >> 4 & 0x0F0F0F0F0F0F0F0Fu) | (v & 0x0F0F0F0F0F0F0F0Fu) << 4;
}
static_assert(ReversedBitsInBytes(0x0f01) == 0xf080);

// Packs one line of 0xAARRGGBB pixels into a 1-bit line (most significant
// bit leftmost, set bits white), each pixel OR-ed with `ignored` first: a
// pixel is black at 0xff000000, white at 0xffffffff. Answers false when any
// pixel is neither (out is then unfinished).
bool PackBlackWhiteLine(const uint32_t* in, int width, uint32_t ignored, uint8_t* out);

}  // namespace mosaiko
