// Reed-Solomon error-correction codewords per block, and the interleaving of
// all blocks into the final codeword sequence.
#include <cassert>
#include <memory>

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

}  // namespace

// Polynomial long division of each block's data (times x^n) by g(x); the
// remainder is the block's n error-correction codewords.
void QrEncoder::ComputeErrorCorrection() {
    const LevelParameters& level = Level();
    const int n = level.Groups[0].BlockCodewords - level.Groups[0].BlockDataCodewords;
    const ProductTable& products = ProductsFor(n);
    int d = 0;
    int e = 0;
    for (int g = 0; g < level.GroupCount; ++g) {
        const BlockGroup& group = level.Groups[g];
        for (int b = 0; b < group.BlockCount; ++b) {
            // Register position i is byte i mod 8 of word i div 8, so moving
            // every position down by one is a word shift.
            uint64_t reg[4] = {0, 0, 0, 0};
            for (int j = 0; j < group.BlockDataCodewords; ++j) {
                const uint8_t factor = dataCodewords_[d + j] ^ static_cast<uint8_t>(reg[0]);
                reg[0] = (reg[0] >> 8) | (reg[1] << 56);
                reg[1] = (reg[1] >> 8) | (reg[2] << 56);
                reg[2] = (reg[2] >> 8) | (reg[3] << 56);
                reg[3] >>= 8;
                const uint64_t* row = products.rows[factor];
                for (int i = 0; i < 4; ++i) reg[i] ^= row[i];
            }
            for (int i = 0; i < n; ++i) eccCodewords_[e + i] = static_cast<uint8_t>(reg[i / 8] >> (8 * (i % 8)));
            d += group.BlockDataCodewords;
            e += n;
        }
    }
}

// First codeword of every block, then the second of every block, and so on;
// the longer blocks' extra data codeword after the shorter blocks run out;
// then the error-correction codewords in the same order.
void QrEncoder::InterleaveCodewords() {
    const LevelParameters& level = Level();
    const BlockGroup& last = level.Groups[level.GroupCount - 1];
    const int kmax = last.BlockDataCodewords;
    const int n = last.BlockCodewords - last.BlockDataCodewords;
    int o = 0;
    for (int j = 0; j < kmax; ++j) {
        int s = j;
        for (int g = 0; g < level.GroupCount; ++g) {
            const BlockGroup& group = level.Groups[g];
            for (int b = 0; b < group.BlockCount; ++b) {
                if (j < group.BlockDataCodewords) sequence_[o++] = dataCodewords_[s];
                s += group.BlockDataCodewords;
            }
        }
    }
    const int blocks = level.Groups[0].BlockCount + level.Groups[1].BlockCount;
    for (int j = 0; j < n; ++j)
        for (int b = 0, s = j; b < blocks; ++b, s += n) sequence_[o++] = eccCodewords_[s];
    assert(o == Params().TotalCodewords);
}

}  // namespace mosaiko
