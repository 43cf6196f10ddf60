#include "BitFill.h"

#include "CellGrid.h"

#include <array>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace mosaiko {

void FillSetBits32Portable(uint32_t* pixels, const uint64_t* bits, int count, uint32_t value) {
    for (int w = 0; w < BitWords(count); ++w)
        for (uint64_t m = bits[w]; m != 0; m &= m - 1) pixels[w * 64 + std::countr_zero(m)] = value;
}

#if defined(__SSE2__)
namespace {

// Lane k of entry i is all ones when bit k of i is set: four bits of the set
// become the blend mask of four pixels.
constexpr auto kNibbleMasks = [] {
    std::array<std::array<uint32_t, 4>, 16> masks{};
    for (int i = 0; i < 16; ++i)
        for (int k = 0; k < 4; ++k) masks[i][k] = (i >> k) & 1 ? ~uint32_t{0} : 0;
    return masks;
}();

}  // namespace

// Four pixels a step, old and new blended by the mask: no branch on the
// random bits (the set-bit loop mispredicts at the end of every word).
void FillSetBits32Sse2(uint32_t* pixels, const uint64_t* bits, int count, uint32_t value) {
    const __m128i v = _mm_set1_epi32(static_cast<int>(value));
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        const auto nibble = static_cast<size_t>((bits[i >> 6] >> (i & 63)) & 15);
        const __m128i mask = _mm_loadu_si128(reinterpret_cast<const __m128i*>(kNibbleMasks[nibble].data()));
        auto* p = reinterpret_cast<__m128i*>(pixels + i);
        _mm_storeu_si128(p, _mm_or_si128(_mm_and_si128(mask, v), _mm_andnot_si128(mask, _mm_loadu_si128(p))));
    }
    for (; i < count; ++i)
        if ((bits[i >> 6] >> (i & 63)) & 1) pixels[i] = value;
}
#else
void FillSetBits32Sse2(uint32_t* pixels, const uint64_t* bits, int count, uint32_t value) {
    FillSetBits32Portable(pixels, bits, count, value);
}
#endif

void FillSetBits32(uint32_t* pixels, const uint64_t* bits, int count, uint32_t value) {
    static const bool wide = WideBitFillAvailable();
    if (wide)
        FillSetBits32Wide(pixels, bits, count, value);
    else
        FillSetBits32Sse2(pixels, bits, count, value);
}

}  // namespace mosaiko
