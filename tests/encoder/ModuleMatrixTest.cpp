// Function patterns, reserved areas and the zig-zag placement order.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "EncoderTestPeer.h"
#include "EncoderTestUtil.h"

namespace mosaiko::test {
namespace {

using Cell = std::pair<int, int>;

// The placement order written the other way round: column pairs from the
// right, alternating up and down, skipping function cells and column 6.
std::vector<Cell> ZigZag(const QrEncoder& e) {
    const int n = e.ModulesPerSide();
    std::vector<Cell> cells;
    bool upward = true;
    for (int right = n - 1; right >= 1; right -= 2) {
        if (right == 6) right = 5;
        for (int k = 0; k < n; ++k) {
            const int row = upward ? n - 1 - k : k;
            for (int column : {right, right - 1})
                if (!e.ModuleIsFunction(row, column)) cells.emplace_back(row, column);
        }
        upward = !upward;
    }
    return cells;
}

TEST(ModuleMatrix, PlacementFollowsTheZigZag) {
    for (int version : {1, 2, 7, 14, 40}) {
        SCOPED_TRACE(version);
        auto e = MakeEncoder(version, kLevelM, "PLACEMENT 0123456789");
        ASSERT_EQ(Peer::EncodeAuto(*e), 0);
        Peer::ComputeErrorCorrection(*e);
        Peer::InterleaveCodewords(*e);
        Peer::BuildFunctionPatterns(*e);
        Peer::PlaceCodewords(*e);
        const int n = e->ModulesPerSide();
        const auto cells = ZigZag(*e);
        const int bits = e->Params().TotalCodewords * 8;
        ASSERT_EQ(static_cast<int>(cells.size()), bits + e->Params().RemainderBits);
        EXPECT_EQ(cells[0], Cell(n - 1, n - 1));
        EXPECT_EQ(cells[1], Cell(n - 1, n - 2));
        EXPECT_EQ(cells[2], Cell(n - 2, n - 1));
        for (int i = 0; i < static_cast<int>(cells.size()); ++i) {
            const bool bit = i < bits && ((e->CodewordSequence()[i / 8] >> (7 - i % 8)) & 1);
            ASSERT_EQ(e->ModuleDataBit(cells[i].first, cells[i].second), bit) << "bit " << i;
        }
        // Over the format area at the top right, the walk turns into the next pair.
        const auto turn = std::find(cells.begin(), cells.end(), Cell(9, n - 2));
        ASSERT_NE(turn, cells.end());
        EXPECT_EQ(*(turn + 1), Cell(9, n - 3));
    }
}

TEST(ModuleMatrix, ReusedMatrixEqualsAFreshOne) {
    // Only the square the last symbol used is cleared; the whole 177 x 177
    // array must still equal that of a fresh encoder, outside the symbol too.
    auto reused = MakeEncoder(1, kLevelM, "REUSED");
    for (int version : {40, 1, 7, 7, 39, 2, 40, 40, 14, 1}) {
        SCOPED_TRACE(version);
        const std::string text(static_cast<std::size_t>(version) * 3, 'Q');
        auto fresh = MakeEncoder(version, kLevelM, text);
        reused->SetVersion(version);
        reused->SetSymbolText(reinterpret_cast<const uint8_t*>(text.data()), static_cast<int>(text.size()));
        ASSERT_TRUE(reused->BuildSymbol());
        ASSERT_TRUE(fresh->BuildSymbol());
        ASSERT_TRUE(std::equal(reused->Matrix(), reused->Matrix() + kMaxModules * kMaxModules, fresh->Matrix()));
        Peer::BuildFunctionPatterns(*reused);
        Peer::BuildFunctionPatterns(*fresh);
        ASSERT_TRUE(std::equal(reused->Matrix(), reused->Matrix() + kMaxModules * kMaxModules, fresh->Matrix()));
    }
}

TEST(ModuleMatrix, FunctionPatternsOfVersion1) {
    auto e = MakeEncoder(1, kLevelL, "");
    Peer::BuildFunctionPatterns(*e);
    const int n = 21;
    for (int i = 8; i <= 12; ++i) {
        EXPECT_EQ(e->ModuleIsDark(6, i), i % 2 == 0);
        EXPECT_EQ(e->ModuleIsDark(i, 6), i % 2 == 0);
        EXPECT_TRUE(e->ModuleIsFunction(6, i));
    }
    int free = 0;
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c) free += !e->ModuleIsFunction(r, c);
    EXPECT_EQ(free, 208);  // 26 codewords, no remainder bits
    EXPECT_TRUE(e->ModuleIsFunction(n - 8, 8));
    EXPECT_FALSE(e->ModuleIsDark(n - 8, 8));  // dark only once the format is written
}

TEST(ModuleMatrix, AlignmentPatternsSkipTheFinders) {
    auto v2 = MakeEncoder(2, kLevelL, "");
    Peer::BuildFunctionPatterns(*v2);
    EXPECT_TRUE(v2->ModuleIsDark(18, 18));
    EXPECT_FALSE(v2->ModuleIsDark(17, 18));
    EXPECT_TRUE(v2->ModuleIsDark(16, 16));

    auto v7 = MakeEncoder(7, kLevelL, "");
    Peer::BuildFunctionPatterns(*v7);
    for (auto [r, c] : {Cell(6, 22), Cell(22, 6), Cell(22, 22), Cell(22, 38), Cell(38, 22), Cell(38, 38)}) {
        EXPECT_TRUE(v7->ModuleIsDark(r, c)) << r << "," << c;
        EXPECT_FALSE(v7->ModuleIsDark(r - 1, c)) << r << "," << c;
    }
    EXPECT_TRUE(v7->ModuleIsFunction(45 - 11, 0));  // version area reserved
    EXPECT_TRUE(v7->ModuleIsFunction(0, 45 - 9));
}

TEST(ModuleMatrix, FormatAndVersionInformation) {
    // Version 1, level M, mask 5: format word 100000011001110.
    auto e = MakeEncoder(1, kLevelM, "FORMAT");
    e->SetMasktype(5);
    ASSERT_TRUE(e->BuildSymbol());
    const int n = 21;
    EXPECT_FALSE(e->ModuleIsDark(0, 8));
    EXPECT_FALSE(e->ModuleIsDark(8, n - 1));
    EXPECT_TRUE(e->ModuleIsDark(8, 0));
    EXPECT_TRUE(e->ModuleIsDark(n - 1, 8));
    EXPECT_TRUE(e->ModuleIsDark(n - 8, 8));

    // Version 7: 0x07C94 in both blocks; bit 0 of the word is 0, bit 2 is 1.
    auto v7 = MakeEncoder(7, kLevelL, "VERSION");
    ASSERT_TRUE(v7->BuildSymbol());
    const int n7 = 45;
    for (int i = 0; i < 18; ++i) {
        const bool bit = (0x07C94 >> i) & 1;
        EXPECT_EQ(v7->ModuleIsDark(n7 - 11 + i % 3, i / 3), bit) << i;
        EXPECT_EQ(v7->ModuleIsDark(i / 3, n7 - 11 + i % 3), bit) << i;
    }
}

}  // namespace
}  // namespace mosaiko::test
