// Reed-Solomon error-correction codewords per block, and the interleaving of
// all blocks into the final codeword sequence.
#include <algorithm>
#include <cassert>
#include <cstring>
#include <memory>
#if defined(__SSSE3__)
#include <tmmintrin.h>
#endif

#include "GaloisField.h"
#include "QrEncoder.h"

namespace mosaiko {
namespace {

constexpr int kRegisterWidth = 32;  // at least the codewords of the widest block
static_assert(kRegisterWidth >= gf::kMaxGeneratorDegree);

// For one generator: row f holds f times each generator coefficient, packed
// eight to a word (coefficient i in bits 8(i mod 8) of word i div 8), so one
// division step is four word XORs. Built once per generator width.
struct ProductTable {
    uint64_t rows[256][kRegisterWidth / 8];
};

const ProductTable& ProductsFor(int n) {
    // Built once for every width on first use (thread-safe static), never per symbol.
    static const std::unique_ptr<ProductTable[]> tables = [] {
        auto t = std::make_unique<ProductTable[]>(gf::kGeneratorRows);
        for (int w = 7; w <= gf::kMaxGeneratorDegree; ++w) {
            if (!gf::HasGenerator(w)) continue;
            for (int f = 1; f < 256; ++f)
                for (int i = 0; i < w; ++i) {
                    const uint64_t product = gf::kExp[(gf::kGenerator[w][i] + gf::kLog[f]) % 255];
                    t[w].rows[f][i / 8] |= product << (8 * (i % 8));
                }
        }
        return t;
    }();
    assert(n >= 7 && n <= gf::kMaxGeneratorDegree && gf::HasGenerator(n));
    return tables[n];
}

// One block's division register: position i is byte i of the 32 bytes.
#if defined(__SSSE3__)
struct Register {
    __m128i lo = _mm_setzero_si128(), hi = _mm_setzero_si128();
};
#else
struct Register {
    uint64_t w[kRegisterWidth / 8] = {};
};
#endif

// One division step of one block: shift the register down by one position
// and add the generator times the factor, the old lead byte plus the next
// data codeword.
inline void DivisionStep(Register& reg, uint8_t data, const ProductTable& products) {
#if defined(__SSSE3__)
    const uint8_t factor = data ^ static_cast<uint8_t>(_mm_cvtsi128_si32(reg.lo));
    const __m128i* row = reinterpret_cast<const __m128i*>(products.rows[factor]);
    reg.lo = _mm_xor_si128(_mm_alignr_epi8(reg.hi, reg.lo, 1), _mm_loadu_si128(row));
    reg.hi = _mm_xor_si128(_mm_srli_si128(reg.hi, 1), _mm_loadu_si128(row + 1));
#else
    uint64_t* w = reg.w;
    const uint8_t factor = data ^ static_cast<uint8_t>(w[0]);
    const uint64_t* row = products.rows[factor];
    w[0] = ((w[0] >> 8) | (w[1] << 56)) ^ row[0];
    w[1] = ((w[1] >> 8) | (w[2] << 56)) ^ row[1];
    w[2] = ((w[2] >> 8) | (w[3] << 56)) ^ row[2];
    w[3] = (w[3] >> 8) ^ row[3];
#endif
}

// The register's first n positions, the block's error-correction codewords.
inline void StoreRemainder(const Register& reg, uint8_t* ecc, int n) {
#if defined(__SSSE3__)
    uint8_t bytes[kRegisterWidth];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes), reg.lo);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes + 16), reg.hi);
    std::memcpy(ecc, bytes, static_cast<size_t>(n));
#else
    for (int i = 0; i < n; ++i) ecc[i] = static_cast<uint8_t>(reg.w[i / 8] >> (8 * (i % 8)));
#endif
}

// M blocks side by side, their registers held in CPU registers: each step of
// one block waits for its previous step, the M blocks' steps overlap. Blocks
// from `longFrom` on have one more data codeword and take a last step alone.
template <int M>
void DivideBlocks(const uint8_t* const* data, int k, int longFrom, const ProductTable& products, uint8_t* ecc, int n) {
    Register regs[M];
    for (int j = 0; j < k; ++j)
        for (int i = 0; i < M; ++i) DivisionStep(regs[i], data[i][j], products);
    for (int i = longFrom; i < M; ++i) DivisionStep(regs[i], data[i][k], products);
    for (int i = 0; i < M; ++i) StoreRemainder(regs[i], ecc + i * n, n);
}

constexpr int kBlocksAtOnce = 6;  // twelve vector registers of the sixteen

}  // namespace

// Polynomial long division of each block's data (times x^n) by g(x); the
// remainder is the block's n error-correction codewords. The blocks are
// divided in runs of up to six of about equal size, so every run has
// independent steps to overlap.
void QrEncoder::ComputeErrorCorrection() {
    const LevelParameters& level = Level();
    const BlockGroup& first = level.Groups[0];
    const int n = first.BlockCodewords - first.BlockDataCodewords;
    const int k = first.BlockDataCodewords;
    const int blocks = first.BlockCount + (level.GroupCount == 2 ? level.Groups[1].BlockCount : 0);
    const ProductTable& products = ProductsFor(n);
    const uint8_t* data[kMaxBlocks];
    for (int b = 0, d = 0; b < blocks; ++b) {
        data[b] = dataCodewords_ + d;
        d += b < first.BlockCount ? k : k + 1;
    }
    const int runs = (blocks + kBlocksAtOnce - 1) / kBlocksAtOnce;
    for (int r = 0, b = 0; r < runs; ++r) {
        const int m = blocks / runs + (r < blocks % runs ? 1 : 0);
        const int longFrom = std::clamp(first.BlockCount - b, 0, m);
        uint8_t* ecc = eccCodewords_ + b * n;
        switch (m) {
            case 1: DivideBlocks<1>(data + b, k, longFrom, products, ecc, n); break;
            case 2: DivideBlocks<2>(data + b, k, longFrom, products, ecc, n); break;
            case 3: DivideBlocks<3>(data + b, k, longFrom, products, ecc, n); break;
            case 4: DivideBlocks<4>(data + b, k, longFrom, products, ecc, n); break;
            case 5: DivideBlocks<5>(data + b, k, longFrom, products, ecc, n); break;
            default: DivideBlocks<kBlocksAtOnce>(data + b, k, longFrom, products, ecc, n); break;
        }
        b += m;
    }
}

// First codeword of every block, then the second of every block, and so on;
// the longer blocks' extra data codeword after the shorter blocks run out;
// then the error-correction codewords in the same order. The sequence is
// written in order, each block read through its own pointer.
void QrEncoder::InterleaveCodewords() {
    const LevelParameters& level = Level();
    const BlockGroup& first = level.Groups[0];
    const int k = first.BlockDataCodewords;
    const int n = first.BlockCodewords - k;
    const int blocks = first.BlockCount + level.Groups[1].BlockCount;
    const uint8_t* block[kMaxBlocks];
    for (int b = 0, d = 0; b < blocks; ++b) {
        block[b] = dataCodewords_ + d;
        d += b < first.BlockCount ? k : k + 1;
    }
    uint8_t* out = sequence_;
    for (int j = 0; j < k; ++j)
        for (int b = 0; b < blocks; ++b) *out++ = block[b][j];
    for (int b = first.BlockCount; b < blocks; ++b) *out++ = block[b][k];
    for (int j = 0; j < n; ++j)
        for (int b = 0; b < blocks; ++b) *out++ = eccCodewords_[b * n + j];
    assert(out == sequence_ + Params().TotalCodewords);
}

}  // namespace mosaiko
