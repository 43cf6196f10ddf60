// Black-and-white pictures as one bit per pixel: QR pictures are pure black
// and white, and a 1-bit copy is a 32nd of the memory and cheap to compress.
#pragma once

#include <cstdint>

namespace mosaiko {

inline constexpr uint32_t kOpaqueBlack = 0xff000000u;
inline constexpr uint32_t kOpaqueWhite = 0xffffffffu;

// Packs one line of 0xAARRGGBB pixels into a 1-bit line (most significant
// bit leftmost, set bits white), each pixel OR-ed with `ignored` first: a
// pixel is black at 0xff000000, white at 0xffffffff. Answers false when any
// pixel is neither (out is then unfinished).
bool PackBlackWhiteLine(const uint32_t* in, int width, uint32_t ignored, uint8_t* out);

}  // namespace mosaiko
