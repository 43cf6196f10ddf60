// Reed-Solomon error-correction codewords per block, and the interleaving of
// all blocks into the final codeword sequence.
#include <cassert>
#include <cstring>
#include <memory>

#include "GaloisField.h"
#include "QrEncoder.h"

namespace mosaiko {
namespace {

constexpr int kRegisterWidth = 32;  // at least the 30 codewords of the widest block

// For one generator: row f holds f times each generator coefficient, so one
// division step is a single 32-byte XOR. Built once per generator width.
struct ProductTable {
    alignas(32) uint8_t rows[256][kRegisterWidth];
};

const ProductTable& ProductsFor(int n) {
    // Built once for every width on first use (thread-safe static), never per symbol.
    static const std::unique_ptr<ProductTable[]> tables = [] {
        auto t = std::make_unique<ProductTable[]>(31);
        for (int w = 7; w <= 30; ++w) {
            if (!gf::HasGenerator(w)) continue;
            for (int f = 1; f < 256; ++f)
                for (int i = 0; i < w; ++i) t[w].rows[f][i] = gf::kExp[(gf::kGenerator[w][i] + gf::kLog[f]) % 255];
        }
        return t;
    }();
    assert(n >= 7 && n <= 30 && gf::HasGenerator(n));
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
            uint8_t* reg = rsRegister_;
            std::memset(reg, 0, kRegisterWidth);
            for (int j = 0; j < group.BlockDataCodewords; ++j) {
                const uint8_t factor = dataCodewords_[d + j] ^ reg[0];
                std::memmove(reg, reg + 1, kRegisterWidth - 1);
                reg[kRegisterWidth - 1] = 0;
                const uint8_t* row = products.rows[factor];
                for (int i = 0; i < kRegisterWidth; ++i) reg[i] ^= row[i];
            }
            std::memcpy(eccCodewords_ + e, reg, static_cast<size_t>(n));
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
