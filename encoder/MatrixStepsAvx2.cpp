// Steps on the symbol's lines and cells with 256-bit registers on CPUs with
// AVX2: the bit transpose of the lines, the data bits written from the row
// lines, and the mask applied to a row, thirty-two cells at a time. Only this
// file is compiled for AVX2, and it is called only after the CPU reported it.
#include <cassert>
#include <cstdint>

#include "CpuFeatures.h"
#include "TargetRegion.h"
#include "MaskSearch.h"
#include "MatrixSteps.h"
#include "QrEncoder.h"

#if defined(__x86_64__) && defined(__GNUC__)

#include <immintrin.h>

MOSAIKO_TARGET_BEGIN("avx2")

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

// Bits whose index has bit J clear.
constexpr uint64_t LowHalves(int j) {
    uint64_t m = 0;
    for (int b = 0; b < 64; ++b)
        if ((b & j) == 0) m |= uint64_t{1} << b;
    return m;
}

// Words i and i + J (J >= 4) of the 64 in sixteen registers swap their
// off-diagonal J x J sub-blocks: register k with register k + J / 4.
template <int J>
inline void StepAcross(__m256i* v) {
    constexpr int d = J / 4;
    const __m256i low = _mm256_set1_epi64x(static_cast<long long>(LowHalves(J)));
    for (int k = 0; k < 16; k += 2 * d) {
        for (int i = k; i < k + d; ++i) {
            const __m256i t = _mm256_and_si256(_mm256_xor_si256(_mm256_srli_epi64(v[i], J), v[i + d]), low);
            v[i] = _mm256_xor_si256(v[i], _mm256_slli_epi64(t, J));
            v[i + d] = _mm256_xor_si256(v[i + d], t);
        }
    }
}

// The same for J = 2 and J = 1, whose word pairs share a register: the
// partner words are brought alongside by a permutation, and the change of
// the upper word of each pair is the lower word's, permuted back.
template <int J>
inline void StepWithin(__m256i* v) {
    const __m256i low = _mm256_set1_epi64x(static_cast<long long>(LowHalves(J)));
    for (int i = 0; i < 16; ++i) {
        const __m256i partner = J == 2 ? _mm256_permute4x64_epi64(v[i], 0x4E) : _mm256_shuffle_epi32(v[i], 0x4E);
        const __m256i t = _mm256_and_si256(_mm256_xor_si256(_mm256_srli_epi64(v[i], J), partner), low);
        const __m256i back = J == 2 ? _mm256_permute4x64_epi64(t, 0x4E) : _mm256_shuffle_epi32(t, 0x4E);
        const __m256i change = _mm256_blend_epi32(_mm256_slli_epi64(t, J), back, J == 2 ? 0xF0 : 0xCC);
        v[i] = _mm256_xor_si256(v[i], change);
    }
}

}  // namespace

// As TransposeLines, one 64 x 64 block in sixteen registers at a time.
void TransposeLinesAvx2(const masks::Line* rows, masks::Line* columns, int n) {
    const int blocks = (n + 63) / 64;
    for (int i = 0; i < n; ++i)
        for (int w = blocks; w < 3; ++w) columns[i].w[w] = 0;
    alignas(32) uint64_t out[64];
    for (int br = 0; br < blocks; ++br) {
        for (int bc = 0; bc < blocks; ++bc) {
            auto row = [&](int i) {
                return static_cast<long long>(64 * br + i < n ? rows[64 * br + i].w[bc] : 0);
            };
            __m256i v[16];
            for (int q = 0; q < 16; ++q) v[q] = _mm256_setr_epi64x(row(4 * q), row(4 * q + 1), row(4 * q + 2), row(4 * q + 3));
            StepAcross<32>(v);
            StepAcross<16>(v);
            StepAcross<8>(v);
            StepAcross<4>(v);
            StepWithin<2>(v);
            StepWithin<1>(v);
            for (int q = 0; q < 16; ++q) _mm256_store_si256(reinterpret_cast<__m256i*>(out + 4 * q), v[q]);
            for (int i = 0; i < 64 && 64 * bc + i < n; ++i) columns[64 * bc + i].w[br] = out[i];
        }
    }
}

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

MOSAIKO_TARGET_END

namespace mosaiko {
bool MatrixStepsAvx2Available() { return CpuHasAvx2(); }
}  // namespace mosaiko

#else

namespace mosaiko {
void TransposeLinesAvx2(const masks::Line*, masks::Line*, int) {}
void WriteDataBitsAvx2(uint8_t*, int, const masks::Line*) {}
void MaskRowAvx2(uint8_t*, const uint8_t*, int) {}
bool MatrixStepsAvx2Available() { return false; }
}  // namespace mosaiko

#endif
