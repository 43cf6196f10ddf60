#include "BlackWhiteLine.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace mosaiko {
namespace {

// Up to eight pixels as one byte; `other` is raised by a pixel that is
// neither black nor white. No branch per pixel.
uint8_t PackEight(const uint32_t* in, uint32_t ignored, bool& other) {
    // Most of a QR picture is white: eight white pixels are one AND away.
    uint32_t all = kOpaqueWhite;
    for (int k = 0; k < 8; ++k) all &= in[k] | ignored;
    if (all == kOpaqueWhite) return 0xff;
    unsigned dark = 0;
    for (int k = 0; k < 8; ++k) {
        const uint32_t p = in[k] | ignored;
        dark |= static_cast<unsigned>(p == kOpaqueBlack) << (7 - k);
        other |= (p != kOpaqueBlack) & (p != kOpaqueWhite);
    }
    return static_cast<uint8_t>(~dark);
}

}  // namespace

#if defined(__SSE2__)
namespace {

// Eight pixels a step, four to a register.
int PackEightsSse2(const uint32_t* in, int width, uint32_t ignored, uint8_t* out, bool& other) {
    const __m128i ignore = _mm_set1_epi32(static_cast<int>(ignored));
    const __m128i black = _mm_set1_epi32(static_cast<int>(kOpaqueBlack));
    const __m128i white = _mm_set1_epi32(static_cast<int>(kOpaqueWhite));
    const auto mask = [](__m128i equal) { return _mm_movemask_ps(_mm_castsi128_ps(equal)); };
    int neither = 0;
    int x = 0;
    for (; x + 8 <= width; x += 8) {
        const __m128i a = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + x)), ignore);
        const __m128i b = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + x + 4)), ignore);
        const int dark = mask(_mm_cmpeq_epi32(a, black)) | mask(_mm_cmpeq_epi32(b, black)) << 4;
        const int light = mask(_mm_cmpeq_epi32(a, white)) | mask(_mm_cmpeq_epi32(b, white)) << 4;
        neither |= (dark | light) ^ 0xff;
        out[x >> 3] = static_cast<uint8_t>(~ReversedBitsInBytes(static_cast<uint64_t>(dark)));
    }
    other |= neither != 0;
    return x;
}

}  // namespace
#endif

bool PackBlackWhiteLine(const uint32_t* in, int width, uint32_t ignored, uint8_t* out) {
    bool other = false;
    int x = 0;
#if defined(__SSE2__)
    x = PackEightsSse2(in, width, ignored, out, other);
#endif
    for (; x + 8 <= width; x += 8) out[x >> 3] = PackEight(in + x, ignored, other);
    if (x < width) {
        uint32_t tail[8] = {kOpaqueWhite, kOpaqueWhite, kOpaqueWhite, kOpaqueWhite,
                            kOpaqueWhite, kOpaqueWhite, kOpaqueWhite, kOpaqueWhite};
        std::memcpy(tail, in + x, static_cast<size_t>(width - x) * 4);
        out[x >> 3] = PackEight(tail, ignored, other);
    }
    return !other;
}

}  // namespace mosaiko
