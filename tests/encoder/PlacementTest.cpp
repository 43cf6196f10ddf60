// Codeword placement: the bit-deposit walk and the portable walk leave the
// same cells and the same data lines, in every version.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>

#include "EncoderTestPeer.h"
#include "EncoderTestUtil.h"
#include "MaskSearch.h"
#include "MatrixSteps.h"
#include "Placement.h"

namespace mosaiko::test {
namespace {

struct Placed {
    std::vector<uint8_t> cells;
    std::unique_ptr<MaskSearch> search = std::make_unique<MaskSearch>();
    PlacementLines lines{};
    int walked = 0;
};

template <typename Place>
Placed PlaceWith(const QrEncoder& e, Place place) {
    const int n = e.ModulesPerSide();
    Placed p;
    p.cells.assign(e.Matrix(), e.Matrix() + kMaxModules * kMaxModules);
    p.lines = p.search->ForPlacement(p.cells.data(), kMaxModules, n);
    p.walked = place(p.cells.data(), n, e.CodewordSequence(), e.Params().TotalCodewords * 8, p.lines);
    return p;
}

bool SameLines(const masks::Line* a, const masks::Line* b, int n) {
    return std::memcmp(a, b, sizeof(masks::Line) * static_cast<size_t>(n)) == 0;
}

TEST(Placement, DepositWalkEqualsPortableWalk) {
    if (!DepositPlacementAvailable()) GTEST_SKIP() << "no fast BMI2 on this CPU";
    std::mt19937 rng(1804);
    for (int version = 1; version <= 40; ++version) {
        const int level = (version * 3) % 4;
        std::string text(SymbolParameters[version].Levels[level].Capacity[kModeByte], '\0');
        for (char& ch : text) ch = static_cast<char>(rng() % 256);
        auto e = MakeEncoder(version, level, text, kModeByte);
        ASSERT_EQ(Peer::EncodeFixed(*e), 0);
        Peer::ComputeErrorCorrection(*e);
        Peer::InterleaveCodewords(*e);
        Peer::BuildFunctionPatterns(*e);
        const int n = e->ModulesPerSide();
        const Placed portable = PlaceWith(*e, PlaceBitsPortable);
        const Placed deposit = PlaceWith(*e, PlaceBitsDeposit);
        EXPECT_EQ(deposit.walked, portable.walked) << version;
        EXPECT_EQ(portable.walked, e->Params().TotalCodewords * 8 + e->Params().RemainderBits) << version;
        EXPECT_EQ(deposit.cells, portable.cells) << version;
        EXPECT_TRUE(SameLines(deposit.lines.columns, portable.lines.columns, n)) << version;
        EXPECT_TRUE(SameLines(deposit.lines.rows, portable.lines.rows, n)) << version;
        // The encoder's own placement, whichever way it took, makes the same cells.
        Peer::PlaceCodewords(*e);
        EXPECT_TRUE(std::equal(portable.cells.begin(), portable.cells.end(), e->Matrix())) << version;
    }
}

// Random lines of every block layout: every way of the line transpose and of
// the data bit writer this CPU runs equals its plain reference.
TEST(Placement, FastLineStepsEqualPlainSteps) {
    using Transpose = void (*)(const masks::Line*, masks::Line*, int);
    using Write = void (*)(uint8_t*, int, const masks::Line*);
    std::vector<Transpose> transposes{TransposeLines, TransposeLinesPortable};
    std::vector<Write> writes{WriteDataBitsSixteen};
    if (MatrixStepsAvx2Available()) {
        transposes.push_back(TransposeLinesAvx2);
        writes.push_back(WriteDataBitsAvx2);
    }
    std::mt19937_64 rng(64);
    for (int n : {21, 25, 32, 33, 63, 64, 65, 128, 129, 173, 177}) {
        std::vector<masks::Line> rows(static_cast<size_t>(n)), fast(rows.size()), plain(rows.size());
        for (auto& row : rows)
            for (int w = 0; w < 3; ++w)
                row.w[w] = n > 64 * w ? rng() & (n - 64 * w >= 64 ? ~uint64_t{0} : (uint64_t{1} << (n - 64 * w)) - 1) : 0;
        TransposeLinesPlain(rows.data(), plain.data(), n);
        for (size_t t = 0; t < transposes.size(); ++t) {
            transposes[t](rows.data(), fast.data(), n);
            EXPECT_TRUE(SameLines(fast.data(), plain.data(), n)) << n << " way " << t;
        }

        std::vector<uint8_t> cells(kMaxModules * kMaxModules);
        for (int r = 0; r < n; ++r)
            for (int c = 0; c < n; ++c) cells[r * kMaxModules + c] = static_cast<uint8_t>(rng() % 3 == 0 ? kFunctionBit : 0);
        std::vector<uint8_t> reference = cells;
        WriteDataBitsPlain(reference.data(), n, rows.data());
        for (size_t w = 0; w < writes.size(); ++w) {
            std::vector<uint8_t> written = cells;
            writes[w](written.data(), n, rows.data());
            EXPECT_EQ(written, reference) << n << " way " << w;
        }
    }
}

}  // namespace
}  // namespace mosaiko::test
