// FillSetBits32 with AVX-512 masked stores: the mask of a store is 16 bits
// of the bit set, so a QR module row at magnification 1 takes one store per
// 16 modules whatever its runs. Only this file is compiled for AVX-512, and
// it is called only after the CPU reported it: the program stays baseline.
#include "BitFill.h"

#include "CpuFeatures.h"
#include "TargetRegion.h"

#if defined(__x86_64__) && defined(__GNUC__)

#include <immintrin.h>

MOSAIKO_TARGET_BEGIN("avx512f")

namespace mosaiko {

void FillSetBits32Wide(uint32_t* pixels, const uint64_t* bits, int count, uint32_t value) {
    const __m512i v = _mm512_set1_epi32(static_cast<int>(value));
    // The lanes of clear bits are not touched (nor faulted on), so the last
    // store may reach past count.
    for (int i = 0; i < count; i += 16) {
        const auto mask = static_cast<__mmask16>(bits[i >> 6] >> (i & 63));
        _mm512_mask_storeu_epi32(pixels + i, mask, v);
    }
}

}  // namespace mosaiko

MOSAIKO_TARGET_END

namespace mosaiko {
bool WideBitFillAvailable() { return CpuHasAvx512(); }
}  // namespace mosaiko

#else

namespace mosaiko {
void FillSetBits32Wide(uint32_t* pixels, const uint64_t* bits, int count, uint32_t value) {
    FillSetBits32Portable(pixels, bits, count, value);
}
bool WideBitFillAvailable() { return false; }
}  // namespace mosaiko

#endif
