// Mask penalty: the standard's worked example, equality of the bit-parallel
// search with the module-by-module rules, and the fixed-mask path.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "EncoderTestPeer.h"
#include "EncoderTestUtil.h"
#include "MatrixSteps.h"

namespace mosaiko::test {
namespace {

// The portable kernel and every vector kernel this CPU runs.
std::vector<PenaltyKernel> AvailableKernels() {
    std::vector<PenaltyKernel> kernels;
    for (PenaltyKernel k : {PenaltyKernel::Portable, PenaltyKernel::Avx2, PenaltyKernel::Avx512})
        if (KernelAvailable(k)) kernels.push_back(k);
    return kernels;
}

void EncodeUnmasked(QrEncoder& e) {
    ASSERT_EQ(e.Emode() < 0 ? Peer::EncodeAuto(e) : Peer::EncodeFixed(e), 0);
    Peer::ComputeErrorCorrection(e);
    Peer::InterleaveCodewords(e);
    Peer::BuildFunctionPatterns(e);
    Peer::PlaceCodewords(e);
}

TEST(Masking, WorkedExampleScores) {
    auto e = MakeEncoder(1, kLevelM, "01234567", kModeNumeric);
    EncodeUnmasked(*e);
    const int expected[8] = {1153, 1220, 1160, 1138, 1174, 1243, 1153, 1133};
    for (int m = 0; m < 8; ++m) {
        Peer::ApplyMask(*e, m);
        EXPECT_EQ(Peer::EvaluatePenalty(*e), expected[m]) << "mask " << m;
    }
    ASSERT_TRUE(e->BuildSymbol());
    EXPECT_EQ(e->MasktypeR(), 7);
    // Format word 0x4AA0 (M, mask 7) down column 8 from the top.
    for (int i = 0; i < 6; ++i) EXPECT_EQ(e->ModuleIsDark(i, 8), ((0x4AA0 >> i) & 1) != 0) << i;
}

TEST(Masking, AllLightMatrix) {
    // 42 lines with one run of 21 (19 points each), 400 blocks, 0 % dark.
    std::vector<uint8_t> light(kMaxModules * 21, kFunctionBit);
    EXPECT_EQ(EvaluatePenaltyOf(light.data(), kMaxModules, 21), 42 * 19 + 400 * 3 + 100);
    MaskSearch search;
    search.Load(light.data(), kMaxModules, 21);
    EXPECT_EQ(search.Penalty(0), 42 * 19 + 400 * 3 + 100);
}

// Random cells, not only symbols: patterns touching both edges of a line.
TEST(Masking, BitParallelScoresOnRandomMatrices) {
    std::mt19937 rng(7);
    for (int n : {21, 25, 32, 33, 63, 64, 65, 127, 128, 129, 177}) {
        std::vector<uint8_t> cells(kMaxModules * n);
        for (int round = 0; round < 4; ++round) {
            for (auto& v : cells) v = static_cast<uint8_t>(kFunctionBit | (rng() % 3 == 0 ? 0 : kDarkBit));
            MaskSearch search;
            search.Load(cells.data(), kMaxModules, n);
            const int expected = EvaluatePenaltyOf(cells.data(), kMaxModules, n);
            ASSERT_EQ(search.Penalty(round), expected) << n;
            for (PenaltyKernel k : AvailableKernels()) ASSERT_EQ(search.PenaltiesWith(k)[round], expected) << n;
        }
    }
}

// Random data in every version: the word-parallel score equals the
// module-by-module score for all eight masks.
TEST(Masking, BitParallelScoresEqualModuleScores) {
    std::mt19937 rng(18004);
    for (int version = 1; version <= 40; ++version) {
        const int level = version % 4;
        std::string text(SymbolParameters[version].Levels[level].Capacity[kModeByte], '\0');
        for (char& ch : text) ch = static_cast<char>(rng() % 256);
        auto e = MakeEncoder(version, level, text, kModeByte);
        EncodeUnmasked(*e);
        MaskSearch search;
        search.Load(e->Matrix(), kMaxModules, e->ModulesPerSide());
        for (int m = 0; m < 8; ++m) {
            Peer::ApplyMask(*e, m);
            ASSERT_EQ(search.Penalty(m), Peer::EvaluatePenalty(*e)) << "version " << version << " mask " << m;
            for (PenaltyKernel k : AvailableKernels())
                ASSERT_EQ(search.PenaltiesWith(k)[m], Peer::EvaluatePenalty(*e)) << "version " << version << " mask " << m;
        }
    }
}

// Random cells of every flag combination, every row length and mask row, in
// every way this CPU runs.
TEST(Masking, FastRowMaskEqualsPlainRowMask) {
    std::mt19937 rng(12);
    for (int n = 16; n <= kMaxModules; ++n) {
        std::vector<uint8_t> cells(kMaxModules);
        for (auto& v : cells) v = static_cast<uint8_t>(rng() % 8);
        std::vector<uint8_t> reference = cells, sixteen = cells;
        const uint8_t* pattern = masks::kRowBytes[n % 8][n % 12].data();
        MaskRowPlain(reference.data(), pattern, n);
        MaskRowSixteen(sixteen.data(), pattern, n);
        ASSERT_EQ(sixteen, reference) << n;
        if (!MatrixStepsAvx2Available() || n < 32) continue;
        MaskRowAvx2(cells.data(), pattern, n);
        ASSERT_EQ(cells, reference) << n;
    }
}

TEST(Masking, FixedMaskAndReencoding) {
    auto automatic = MakeEncoder(10, kLevelQ, "RE-ENCODING WITH THE CHOSEN MASK 42");
    ASSERT_TRUE(automatic->BuildSymbol());
    const int chosen = automatic->MasktypeR();
    auto fixed = MakeEncoder(10, kLevelQ, "RE-ENCODING WITH THE CHOSEN MASK 42");
    fixed->SetMasktype(chosen);
    ASSERT_TRUE(fixed->BuildSymbol());
    for (int r = 0; r < 57; ++r)
        for (int c = 0; c < 57; ++c) ASSERT_EQ(fixed->ModuleIsDark(r, c), automatic->ModuleIsDark(r, c));

    auto three = MakeEncoder(3, kLevelL, "MASK");
    three->SetMasktype(3);
    ASSERT_TRUE(three->BuildSymbol());
    EXPECT_EQ(three->MasktypeR(), 3);
    EXPECT_EQ(DecodeSymbolBytes(*three), "MASK");
}

}  // namespace
}  // namespace mosaiko::test
