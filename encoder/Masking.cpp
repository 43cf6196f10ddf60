// Masking, the penalty score that chooses the mask, and the format and
// version information.
#include <array>
#include <cassert>

#if defined(__SSE4_1__)
#include <smmintrin.h>
#endif

#include "FunctionPatterns.h"
#include "MaskPatterns.h"
#include "MatrixSteps.h"
#include "PenaltyRules.h"
#include "QrEncoder.h"

namespace mosaiko {

using namespace patterns;

namespace {

// 18-bit version information: the version number followed by the 12 check
// bits of the BCH(18,6) code with generator 0x1F25; -1 below version 7.
inline constexpr std::array<int32_t, kMaxVersion + 1> kVersionInformation = [] {
    std::array<int32_t, kMaxVersion + 1> t{};
    for (int v = 0; v <= kMaxVersion; ++v) {
        if (v < 7) {
            t[v] = -1;
            continue;
        }
        int32_t r = v << 12;
        for (int bit = 17; bit >= 12; --bit)
            if (r & (1 << bit)) r ^= 0x1F25 << (bit - 12);
        t[v] = (v << 12) | r;
    }
    return t;
}();
static_assert(kVersionInformation[6] == -1 && kVersionInformation[7] == 0x07C94);
static_assert(kVersionInformation[8] == 0x085BC && kVersionInformation[10] == 0x0A4D3);
static_assert(kVersionInformation[40] == 0x28C69);

// 15-bit format information: level bits and mask with their BCH(15,5) check
// bits (generator 0x537), XOR 0x5412.
constexpr int FormatWord(int eclevel, int mask) {
    const int data = ((eclevel ^ 1) << 3) | mask;
    const int v = data << 10;
    int r = v;
    for (int bit = 14; bit >= 10; --bit)
        if (r & (1 << bit)) r ^= 0x537 << (bit - 10);
    return (v + r) ^ 0x5412;
}
static_assert(FormatWord(0, 0) == 0x77C4 && FormatWord(3, 7) == 0x083B);
static_assert(FormatWord(1, 5) == 0b100000011001110);

}  // namespace

// Dark where the data bit and the mask condition differ; function cells keep
// their value.
inline uint8_t MaskedCell(uint8_t v, uint8_t flip) {
    const auto masked = static_cast<uint8_t>((v & ~kDarkBit) | (((v & kDataBit) ^ flip) << 1));
    return (v & kFunctionBit) ? v : masked;
}

void MaskRowPlain(uint8_t* row, const uint8_t* pattern, int n) {
    for (int j = 0; j < n; ++j) row[j] = MaskedCell(row[j], pattern[j]);
}

#if defined(__SSE4_1__)
// Sixteen cells: a free cell (at most data and dark bits, so below the
// function bit) becomes its data bit plus the dark bit of data XOR flip.
inline __m128i MaskedSixteen(const uint8_t* row, const uint8_t* pattern) {
    static_assert(kDataBit == 1 && kDarkBit == 2 && kFunctionBit == 4, "the dark bit is the data bit doubled");
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row));
    const __m128i data = _mm_and_si128(v, _mm_set1_epi8(kDataBit));
    const __m128i dark = _mm_xor_si128(data, _mm_loadu_si128(reinterpret_cast<const __m128i*>(pattern)));
    const __m128i masked = _mm_or_si128(data, _mm_add_epi8(dark, dark));
    const __m128i function = _mm_cmpgt_epi8(v, _mm_set1_epi8(kFunctionBit - 1));
    return _mm_blendv_epi8(masked, v, function);
}
#endif

// Thirty-two cells a step where the CPU has AVX2 (and the row is that long),
// else sixteen.
void MaskRow(uint8_t* row, const uint8_t* pattern, int n) {
    static const bool wide = MatrixStepsAvx2Available();
    if (wide && n >= 32) MaskRowAvx2(row, pattern, n);
    else MaskRowSixteen(row, pattern, n);
}

// Sixteen cells a step. The last cells are masked first and stored last,
// overlapping the step before: harmless, as a masked cell masks to itself,
// and no load waits on a store it only partly overlaps.
void MaskRowSixteen(uint8_t* row, const uint8_t* pattern, int n) {
#if defined(__SSE4_1__)
    assert(n >= 16);
    const __m128i last = MaskedSixteen(row + n - 16, pattern + n - 16);
    for (int c = 0; c < n - 16; c += 16)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(row + c), MaskedSixteen(row + c, pattern + c));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(row + n - 16), last);
#else
    MaskRowPlain(row, pattern, n);
#endif
}

void QrEncoder::ApplyMask(int mask) {
    const int n = ModulesPerSide();
    for (int i = 0; i < n; ++i) MaskRow(matrix_ + i * kMaxModules, masks::kRowBytes[mask][i % 12].data(), n);
}

// The automatic choice scores all eight masks with the bit-parallel rules,
// which give the same scores as EvaluatePenalty over each masked matrix.
void QrEncoder::SelectMask() {
    if (masktype_ >= 0) {
        ApplyMask(masktype_);
        return;
    }
    maskSearch_.LoadPlaced(matrix_, kMaxModules, ModulesPerSide());
    masktypeR_ = maskSearch_.BestMask();
    ApplyMask(masktypeR_);
}

// Module-by-module penalty of an n x n matrix of cell flags: runs, 2 x 2
// blocks, finder-like patterns and the proportion of dark modules.
//
// This score deliberately differs from ISO/IEC 18004:2015 and is kept for
// compatibility with the symbols this program has always made: the
// finder-like rule wants 1:1:3:1:1 with one light module (or the edge) on
// each side instead of four light modules on one side, the dark percentage
// is truncated before the 5 % steps, and the format cells are still light while the masks are scored. So the
// automatic mask may differ from that of other encoders; the symbols decode
// the same.
int EvaluatePenaltyOf(const uint8_t* cells, int stride, int n) {
    auto isDark = [&](int row, int column) { return (cells[row * stride + column] & kDarkBit) != 0; };
    int score = 0;
    for (int pass = 0; pass < 2; ++pass) {
        const bool rows = pass == 0;
        auto dark = [&](int line, int k) { return rows ? isDark(line, k) : isDark(k, line); };
        for (int line = 0; line < n; ++line) {
            int run = 1;
            for (int k = 1; k <= n; ++k) {
                if (k < n && dark(line, k) == dark(line, k - 1)) {
                    ++run;
                    continue;
                }
                score += penalty::RunPenalty(run);
                run = 1;
            }
            for (int j = 0; j + 6 < n; ++j) {
                if (j > 0 && dark(line, j - 1)) continue;
                if (j + 7 < n && dark(line, j + 7)) continue;
                static constexpr bool kFinderLike[7] = {true, false, true, true, true, false, true};
                bool match = true;
                for (int t = 0; t < 7 && match; ++t) match = dark(line, j + t) == kFinderLike[t];
                if (match) score += penalty::kN3;
            }
        }
    }
    int darkCount = 0;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            const bool a = isDark(i, j);
            darkCount += a;
            if (i + 1 < n && j + 1 < n && a == isDark(i, j + 1) && a == isDark(i + 1, j) && a == isDark(i + 1, j + 1))
                score += penalty::kN2;
        }
    }
    return score + penalty::BalancePenalty(darkCount, n * n);
}

int QrEncoder::EvaluatePenalty() const {
    return EvaluatePenaltyOf(matrix_, kMaxModules, ModulesPerSide());
}

void QrEncoder::WriteFormatAndVersion() {
    const int n = ModulesPerSide();
    const int format = FormatWord(eclevel_, masktypeR_);
    for (int i = 0; i < 15; ++i) {
        if (!((format >> i) & 1)) continue;
        OrCell(Resolve(kFormatList1[i].row, n), Resolve(kFormatList1[i].column, n), kDarkBit);
        OrCell(Resolve(kFormatList2[i].row, n), Resolve(kFormatList2[i].column, n), kDarkBit);
    }
    OrCell(Resolve(kDarkModule.row, n), Resolve(kDarkModule.column, n), kDarkBit);
    const int32_t version = kVersionInformation[version_];
    if (version < 0) return;
    for (int i = 0; i < 18; ++i) {
        if (!((version >> i) & 1)) continue;
        OrCell(Resolve(VersionList1(i).row, n), Resolve(VersionList1(i).column, n), kDarkBit);
        OrCell(Resolve(VersionList2(i).row, n), Resolve(VersionList2(i).column, n), kDarkBit);
    }
}

}  // namespace mosaiko
