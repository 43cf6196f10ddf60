// Reed-Solomon error-correction codewords per block, and the interleaving of
// all blocks into the final codeword sequence.
#include <bit>
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

// One division step of one block: shift the register down by one position
// (position i is byte i of the 32 bytes) and add the generator times the
// factor, the old lead byte plus the next data codeword.
inline void DivisionStep(uint64_t* reg, uint8_t data, const ProductTable& products) {
#if defined(__SSSE3__)
    const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(reg));
    const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(reg + 2));
    const uint8_t factor = data ^ static_cast<uint8_t>(_mm_cvtsi128_si32(lo));
    const __m128i* row = reinterpret_cast<const __m128i*>(products.rows[factor]);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(reg), _mm_xor_si128(_mm_alignr_epi8(hi, lo, 1), _mm_loadu_si128(row)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(reg + 2), _mm_xor_si128(_mm_srli_si128(hi, 1), _mm_loadu_si128(row + 1)));
#else
    const uint8_t factor = data ^ static_cast<uint8_t>(reg[0]);
    const uint64_t* row = products.rows[factor];
    reg[0] = ((reg[0] >> 8) | (reg[1] << 56)) ^ row[0];
    reg[1] = ((reg[1] >> 8) | (reg[2] << 56)) ^ row[1];
    reg[2] = ((reg[2] >> 8) | (reg[3] << 56)) ^ row[2];
    reg[3] = (reg[3] >> 8) ^ row[3];
#endif
}

}  // namespace

// Polynomial long division of each block's data (times x^n) by g(x); the
// remainder is the block's n error-correction codewords. Each step of one
// block waits for its previous step, so all blocks advance together, one
// codeword at a time: their steps are independent and overlap in the CPU.
// The second group's blocks are one codeword longer and take a last step alone.
void QrEncoder::ComputeErrorCorrection() {
    const LevelParameters& level = Level();
    const BlockGroup& first = level.Groups[0];
    const int n = first.BlockCodewords - first.BlockDataCodewords;
    const int k = first.BlockDataCodewords;
    const int blocks = first.BlockCount + (level.GroupCount == 2 ? level.Groups[1].BlockCount : 0);
    const ProductTable& products = ProductsFor(n);
    uint64_t regs[kMaxBlocks][kRegisterWidth / 8];
    const uint8_t* data[kMaxBlocks];
    for (int b = 0, d = 0; b < blocks; ++b) {
        data[b] = dataCodewords_ + d;
        d += b < first.BlockCount ? k : k + 1;
        for (uint64_t& word : regs[b]) word = 0;
    }
    for (int j = 0; j < k; ++j)
        for (int b = 0; b < blocks; ++b) DivisionStep(regs[b], data[b][j], products);
    for (int b = first.BlockCount; b < blocks; ++b) DivisionStep(regs[b], data[b][k], products);
    for (int b = 0; b < blocks; ++b) {
        if constexpr (std::endian::native == std::endian::little)
            std::memcpy(eccCodewords_ + b * n, regs[b], static_cast<size_t>(n));  // byte i of the register is byte i in memory
        else
            for (int i = 0; i < n; ++i) eccCodewords_[b * n + i] = static_cast<uint8_t>(regs[b][i / 8] >> (8 * (i % 8)));
    }
}

// First codeword of every block, then the second of every block, and so on;
// the longer blocks' extra data codeword after the shorter blocks run out;
// then the error-correction codewords in the same order. Written block by
// block: codeword j of block b goes to j * blocks + b.
void QrEncoder::InterleaveCodewords() {
    const LevelParameters& level = Level();
    const BlockGroup& first = level.Groups[0];
    const int k = first.BlockDataCodewords;
    const int n = first.BlockCodewords - k;
    const int blocks = first.BlockCount + level.Groups[1].BlockCount;
    const uint8_t* data = dataCodewords_;
    for (int b = 0; b < blocks; ++b) {
        uint8_t* out = sequence_ + b;
        for (int j = 0; j < k; ++j) out[j * blocks] = data[j];
        data += k;
        if (b >= first.BlockCount) sequence_[k * blocks + b - first.BlockCount] = *data++;
    }
    uint8_t* eccOut = sequence_ + level.DataCodewords;
    for (int b = 0; b < blocks; ++b)
        for (int j = 0; j < n; ++j) eccOut[j * blocks + b] = eccCodewords_[b * n + j];
    assert(level.DataCodewords + n * blocks == Params().TotalCodewords);
}

}  // namespace mosaiko
