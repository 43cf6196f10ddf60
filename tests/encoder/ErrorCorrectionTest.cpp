// Reed-Solomon codewords and interleaving against the standard's examples.
#include <gtest/gtest.h>

#include <random>

#include "EncoderTestPeer.h"
#include "EncoderTestUtil.h"
#include "GaloisField.h"

namespace mosaiko::test {
namespace {

TEST(ErrorCorrection, StandardWorkedExample) {
    auto e = MakeEncoder(1, kLevelM, "01234567", kModeNumeric);
    ASSERT_TRUE(e->BuildSymbol());
    const std::vector<int> ecc(e->EccCodewordBuffer(), e->EccCodewordBuffer() + 10);
    EXPECT_EQ(ecc, (std::vector<int>{0xA5, 0x24, 0xD4, 0xC1, 0xED, 0x36, 0xC7, 0x87, 0x2C, 0x55}));
    // One block: the data codewords followed by the error-correction codewords.
    for (int i = 0; i < 16; ++i) EXPECT_EQ(e->CodewordSequence()[i], e->DataCodewordBuffer()[i]);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(e->CodewordSequence()[16 + i], ecc[i]);
}

TEST(ErrorCorrection, InterleavesBlocksOfTwoLengths) {
    // 5-Q: two blocks of 15 and two of 16 data codewords, 18 ECC codewords each.
    auto e = MakeEncoder(5, kLevelQ, std::string(40, 'x'));
    ASSERT_TRUE(e->BuildSymbol());
    const uint8_t* d = e->DataCodewordBuffer();
    const uint8_t* ecc = e->EccCodewordBuffer();
    const uint8_t* seq = e->CodewordSequence();
    const int blockStart[4] = {0, 15, 30, 46};
    int o = 0;
    for (int i = 0; i < 15; ++i)
        for (int b = 0; b < 4; ++b) EXPECT_EQ(seq[o++], d[blockStart[b] + i]) << "column " << i;
    EXPECT_EQ(seq[o++], d[blockStart[2] + 15]);
    EXPECT_EQ(seq[o++], d[blockStart[3] + 15]);
    for (int i = 0; i < 18; ++i)
        for (int b = 0; b < 4; ++b) EXPECT_EQ(seq[o++], ecc[b * 18 + i]);
    EXPECT_EQ(o, 134);
}

TEST(ErrorCorrection, LargestBlocksAndMostBlocks) {
    // 27-L fills a 123-codeword block; 40-H has 81 blocks and 2430 ECC codewords.
    for (auto [version, level] : {std::pair{27, kLevelL}, std::pair{40, kLevelH}, std::pair{1, kLevelH}}) {
        auto e = MakeEncoder(version, level, "MOSAIKO");
        ASSERT_TRUE(e->BuildSymbol());
        auto decoded = DecodeSymbolBytes(*e);
        EXPECT_EQ(decoded, "MOSAIKO") << version << "-" << level;
    }
}

// The textbook division of one block, a byte register shifted one position a step.
std::vector<int> PlainRemainder(const uint8_t* data, int k, int n) {
    std::vector<uint8_t> reg(data, data + k);
    reg.resize(k + n, 0);
    for (int j = 0; j < k; ++j) {
        const uint8_t lead = reg[j];
        if (lead == 0) continue;
        for (int i = 0; i < n; ++i)
            reg[j + 1 + i] ^= gf::kExp[(gf::kGenerator[n][i] + gf::kLog[lead]) % 255];
    }
    return std::vector<int>(reg.begin() + k, reg.end());
}

TEST(ErrorCorrection, AllBlocksAtOnceMatchThePlainDivision) {
    std::mt19937 random(18004);
    QrEncoder e;
    for (int version = 1; version <= 40; ++version)
        for (int level = kLevelL; level <= kLevelH; ++level) {
            e.SetVersion(version);
            e.SetEclevel(level);
            uint8_t* data = Peer::DataCodewords(e);
            for (int i = 0; i < e.Level().DataCodewords; ++i) data[i] = static_cast<uint8_t>(random());
            Peer::ComputeErrorCorrection(e);
            int d = 0;
            int o = 0;
            for (int g = 0; g < e.Level().GroupCount; ++g) {
                const BlockGroup& group = e.Level().Groups[g];
                const int n = group.BlockCodewords - group.BlockDataCodewords;
                for (int b = 0; b < group.BlockCount; ++b, d += group.BlockDataCodewords, o += n) {
                    const std::vector<int> ecc(e.EccCodewordBuffer() + o, e.EccCodewordBuffer() + o + n);
                    ASSERT_EQ(ecc, PlainRemainder(data + d, group.BlockDataCodewords, n))
                        << version << "-" << level << " group " << g << " block " << b;
                }
            }
        }
}

}  // namespace
}  // namespace mosaiko::test
