// The byte-matrix steps thirty-two cells at a time on CPUs with AVX2: the
// data bits written from the row lines, and the mask applied to a row. Only
// this file is compiled for AVX2, and it is called only after the CPU
// reported it.
#include <cassert>
#include <cstdint>

#include "CpuFeatures.h"
#include "Placement.h"
#include "QrEncoder.h"

#if defined(__x86_64__) && defined(__GNUC__)

#include <immintrin.h>

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif

namespace mosaiko {
namespace {

// The cells' own bit of their byte: cell 8i + j keeps bit j of byte i.
inline __m256i OwnBits() { return _mm256_set1_epi64x(static_cast<long long>(0x8040201008040201ull)); }

// Cells c .. c + 31 of a row from 32 bits of its line (c a multiple of 32).
inline void WriteThirtyTwo(uint8_t* cells, uint32_t bits) {
    const __m256i bytes = _mm256_shuffle_epi8(
        _mm256_set1_epi32(static_cast<int>(bits)),
        _mm256_setr_epi8(0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3, 3, 3, 3));
    const __m256i set = _mm256_and_si256(_mm256_cmpeq_epi8(_mm256_and_si256(bytes, OwnBits()), OwnBits()),
                                         _mm256_set1_epi8(kDataBit));
    __m256i* p = reinterpret_cast<__m256i*>(cells);
    _mm256_storeu_si256(p, _mm256_or_si256(_mm256_loadu_si256(p), set));
}

// Cells c .. c + 15 from 16 bits of the line.
inline void WriteSixteen(uint8_t* cells, uint32_t bits) {
    const __m128i bytes = _mm_shuffle_epi8(_mm_set1_epi16(static_cast<short>(bits)),
                                           _mm_setr_epi8(0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1));
    const __m128i own = _mm256_castsi256_si128(OwnBits());
    const __m128i set = _mm_and_si128(_mm_cmpeq_epi8(_mm_and_si128(bytes, own), own), _mm_set1_epi8(kDataBit));
    __m128i* p = reinterpret_cast<__m128i*>(cells);
    _mm_storeu_si128(p, _mm_or_si128(_mm_loadu_si128(p), set));
}

// Thirty-two cells: a free cell becomes its data bit plus the dark bit of
// data XOR flip (as MaskRow's sixteen-cell step).
inline __m256i MaskedThirtyTwo(const uint8_t* row, const uint8_t* pattern) {
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row));
    const __m256i data = _mm256_and_si256(v, _mm256_set1_epi8(kDataBit));
    const __m256i dark = _mm256_xor_si256(data, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pattern)));
    const __m256i masked = _mm256_or_si256(data, _mm256_add_epi8(dark, dark));
    const __m256i function = _mm256_cmpgt_epi8(v, _mm256_set1_epi8(kFunctionBit - 1));
    return _mm256_blendv_epi8(masked, v, function);
}

}  // namespace

// Thirty-two cells a step while the step stays inside the row's 177 bytes;
// the last cells of a long row go sixteen, then one at a time.
void WriteDataBitsAvx2(uint8_t* matrix, int n, const masks::Line* rows) {
    for (int r = 0; r < n; ++r) {
        uint8_t* row = matrix + r * kMaxModules;
        const masks::Line& line = rows[r];
        int c = 0;
        for (; c < n && c + 32 <= kMaxModules; c += 32)
            WriteThirtyTwo(row + c, static_cast<uint32_t>(line.w[c / 64] >> (c % 64)));
        if (c < n && c + 16 <= kMaxModules) {
            WriteSixteen(row + c, static_cast<uint32_t>(line.w[c / 64] >> (c % 64)));
            c += 16;
        }
        for (; c < n; ++c) row[c] |= static_cast<uint8_t>(((line.w[c / 64] >> (c % 64)) & 1) * kDataBit);
    }
}

// As MaskRow: the overlapping last step is loaded first and stored last.
void MaskRowAvx2(uint8_t* row, const uint8_t* pattern, int n) {
    assert(n >= 32);
    const __m256i last = MaskedThirtyTwo(row + n - 32, pattern + n - 32);
    for (int c = 0; c < n - 32; c += 32)
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(row + c), MaskedThirtyTwo(row + c, pattern + c));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(row + n - 32), last);
}

}  // namespace mosaiko

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

namespace mosaiko {
bool CellStepsAvx2Available() { return CpuHasAvx2(); }
}  // namespace mosaiko

#else

namespace mosaiko {
void WriteDataBitsAvx2(uint8_t*, int, const masks::Line*) {}
void MaskRowAvx2(uint8_t*, const uint8_t*, int) {}
bool CellStepsAvx2Available() { return false; }
}  // namespace mosaiko

#endif
