// Writing one pf32bit value into the pixels picked by a bit set: the inner
// step of TBitmap::FillCells. The AVX-512 way (BitFillWide.cpp) writes 16
// pixels per masked store, the SSE2 way blends four at a time, the portable
// way stores one pixel per set bit.
#pragma once

#include <cstdint>

namespace mosaiko {

// pixels[i] = value for every set bit i of bits (bit i of word i / 64), for
// i < count; the bits from count to the end of the last word must be zero.
// Pixels of clear bits keep their values (the SSE2 way rewrites them);
// nothing at count or past it is touched.
void FillSetBits32(uint32_t* pixels, const uint64_t* bits, int count, uint32_t value);

// The ways, for the dispatch above and for the tests; call the wide one
// only when WideBitFillAvailable(). Without SSE2 the SSE2 way is the portable one.
void FillSetBits32Portable(uint32_t* pixels, const uint64_t* bits, int count, uint32_t value);
void FillSetBits32Sse2(uint32_t* pixels, const uint64_t* bits, int count, uint32_t value);
void FillSetBits32Wide(uint32_t* pixels, const uint64_t* bits, int count, uint32_t value);
bool WideBitFillAvailable();

}  // namespace mosaiko
