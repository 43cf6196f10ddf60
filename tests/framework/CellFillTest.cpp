// Filling a grid of dark and light cells (a QR symbol's modules) from bit
// sets: the run edges, the pixel kernels and TBitmap::FillCells, each against
// the plain way of filling one rectangle per dark cell.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "BitFill.h"
#include "BitmapCanvas.h"
#include "CellGrid.h"
#include "MetafileCanvas.h"
#include "TestSupport.h"

namespace mosaiko {
namespace {

// Random rows of cells; the bits past the last column are random too, as
// the grid promises to ignore them.
struct RandomGrid {
    TCellGrid grid;
    std::vector<uint64_t> words;

    RandomGrid(std::mt19937_64& random, int columns, int rows, int cellWidth, int cellHeight, int left, int top) {
        grid.left = left;
        grid.top = top;
        grid.cellWidth = cellWidth;
        grid.cellHeight = cellHeight;
        grid.columns = columns;
        grid.rows = rows;
        grid.stride = BitWords(columns) + 1;  // a spare word: the stride need not be the minimum
        words.resize(static_cast<size_t>(grid.stride) * rows);
        for (uint64_t& w : words) w = random();
        grid.dark = words.data();
    }
    bool Dark(int r, int c) const { return (grid.Row(r)[c / 64] >> (c % 64)) & 1; }
};

// The reference: one FillRect per dark cell.
void FillCellByCell(TBitmap& bitmap, const RandomGrid& g, TColor color) {
    const TCellGrid& grid = g.grid;
    for (int r = 0; r < grid.rows; ++r)
        for (int c = 0; c < grid.columns; ++c)
            if (g.Dark(r, c)) {
                const int x = grid.left + c * grid.cellWidth;
                const int y = grid.top + r * grid.cellHeight;
                bitmap.FillRect(x, y, x + grid.cellWidth, y + grid.cellHeight, color);
            }
}

TEST(CellRunEdges, AreTheColumnsWhereACellDiffersFromItsLeftNeighbour) {
    std::mt19937_64 random(7);
    for (int columns : {1, 2, 21, 63, 64, 65, 97, 127, 128, 177, 300}) {
        for (int trial = 0; trial < 20; ++trial) {
            std::vector<uint64_t> bits(static_cast<size_t>(BitWords(columns)));
            for (uint64_t& w : bits) w = trial == 0 ? ~uint64_t{0} : trial == 1 ? 0 : random();
            std::vector<int> expected;
            bool previous = false;
            for (int c = 0; c <= columns; ++c) {
                const bool dark = c < columns && ((bits[c / 64] >> (c % 64)) & 1);
                if (dark != previous) expected.push_back(c);
                previous = dark;
            }
            std::vector<int> edges(static_cast<size_t>(columns) + 1);
            const int count = CellRunEdges(bits.data(), columns, edges.data());
            edges.resize(static_cast<size_t>(count));
            ASSERT_EQ(edges, expected) << columns << " columns, trial " << trial;
        }
    }
}

// Every kernel writes exactly the pixels of the set bits, at every count and
// alignment, and nothing past count.
TEST(FillSetBits32, WritesThePixelsOfTheSetBitsOnly) {
    using Kernel = void (*)(uint32_t*, const uint64_t*, int, uint32_t);
    std::vector<Kernel> kernels = {FillSetBits32Portable, FillSetBits32Sse2, FillSetBits32};
    if (WideBitFillAvailable()) kernels.push_back(FillSetBits32Wide);
    std::mt19937_64 random(11);
    for (int count = 1; count <= 200; ++count) {
        std::vector<uint64_t> bits(static_cast<size_t>(BitWords(count)));
        for (uint64_t& w : bits) w = random();
        if (count % 64) bits.back() &= (uint64_t{1} << (count % 64)) - 1;
        for (Kernel kernel : kernels) {
            std::vector<uint32_t> pixels(static_cast<size_t>(count) + 16, 0x12345678u);
            kernel(pixels.data(), bits.data(), count, 0xFF000000u);
            for (int i = 0; i < count + 16; ++i) {
                const bool set = i < count && ((bits[i / 64] >> (i % 64)) & 1);
                ASSERT_EQ(pixels[i], set ? 0xFF000000u : 0x12345678u) << "count " << count << ", pixel " << i;
            }
        }
    }
}

class FillCellsAtDepth : public testing::TestWithParam<TPixelFormat> {};

// Random cells over random old pixels, at cell sizes 1 to 4 (and uneven
// ones), placed inside, across each of the four edges and past them: the
// same pixels as one FillRect per dark cell, light cells keep the old ones.
TEST_P(FillCellsAtDepth, SetsExactlyThePixelsOfTheDarkCellsClipped) {
    constexpr int kWidth = 150, kHeight = 90;
    std::mt19937 pixelsRandom(3);
    std::mt19937_64 random(5);
    const int origins[][2] = {{5, 4}, {-13, 10}, {40, -7}, {100, 20}, {30, 70}, {-20, -20}, {-400, 0}, {0, 95}};
    const int sizes[][2] = {{1, 1}, {2, 2}, {3, 3}, {4, 4}, {3, 2}, {1, 4}};
    for (const auto& size : sizes)
        for (const auto& origin : origins)
            for (int columns : {21, 64, 97}) {
                const RandomGrid g(random, columns, 25, size[0], size[1], origin[0], origin[1]);
                TBitmap old(kWidth, kHeight, GetParam());
                test::FillRandom(old, pixelsRandom);
                TBitmap expected = old;
                FillCellByCell(expected, g, clBlack);
                TBitmap filled = old;
                filled.FillCells(g.grid, clBlack);
                ASSERT_TRUE(filled.SamePixels(expected)) << "cells " << size[0] << "x" << size[1] << " at "
                                                         << origin[0] << "," << origin[1] << ", " << columns;
            }
}

INSTANTIATE_TEST_SUITE_P(Depths, FillCellsAtDepth, testing::Values(pf32bit, pf24bit, pf1bit),
                         [](const testing::TestParamInfo<TPixelFormat>& info) {
                             return std::to_string(BitsPerPixelOf(info.param)) + "bit";
                         });

TEST(FillCells, AnEmptyGridOrCellsOfNoSizeFillNothing) {
    std::mt19937_64 random(9);
    TBitmap b(40, 40);
    for (const auto& wh : {std::pair{0, 2}, std::pair{2, 0}, std::pair{-1, 3}}) {
        const RandomGrid g(random, 21, 21, wh.first, wh.second, 0, 0);
        b.FillCells(g.grid, clBlack);
    }
    const RandomGrid none(random, 0, 21, 1, 1, 0, 0);
    b.FillCells(none.grid, clBlack);
    EXPECT_TRUE(b.SamePixels(TBitmap(40, 40)));
}

TEST(BitmapCanvas, FillsTheCellsInTheBrushColourAndNotifiesOnce) {
    std::mt19937_64 random(13);
    const RandomGrid g(random, 33, 33, 2, 2, 1, 1);
    TBitmap b(70, 70);
    int notices = 0;
    b.SetOnChange([&notices] { ++notices; });
    TBitmapCanvas c(b);
    c.Brush().SetColor(clRed);
    c.FillCells(g.grid);
    EXPECT_EQ(notices, 1);
    TBitmap expected(70, 70);
    FillCellByCell(expected, g, clRed);
    EXPECT_TRUE(b.SamePixels(expected));

    c.Brush().SetStyle(bsClear);
    c.Brush().SetColor(clBlue);
    c.FillCells(g.grid);
    EXPECT_TRUE(b.SamePixels(expected));
}

// A recording canvas gets one rectangle per run of each row, in order.
TEST(MetafileCanvas, RecordsOneRectanglePerRunOfDarkCells) {
    std::mt19937_64 random(17);
    const RandomGrid g(random, 70, 6, 3, 2, 4, 5);
    TMetafile m(300, 30);
    TMetafileCanvas c(m);
    c.Brush().SetColor(clBlack);
    c.FillCells(g.grid);
    c.Close();
    std::vector<TRect> expected;
    for (int r = 0; r < g.grid.rows; ++r)
        for (int c0 = 0; c0 < g.grid.columns;) {
            if (!g.Dark(r, c0)) {
                ++c0;
                continue;
            }
            int c1 = c0;
            while (c1 < g.grid.columns && g.Dark(r, c1)) ++c1;
            expected.push_back({4 + 3 * c0, 5 + 2 * r, 4 + 3 * c1, 7 + 2 * r});
            c0 = c1;
        }
    std::vector<TRect> fills;
    for (const TMetafileRecord& record : m.Records())
        if (auto* f = std::get_if<TMetaFillRect>(&record)) fills.push_back({f->left, f->top, f->right, f->bottom});
    ASSERT_EQ(fills.size(), expected.size());
    for (size_t i = 0; i < fills.size(); ++i) {
        EXPECT_EQ(fills[i].left, expected[i].left) << i;
        EXPECT_EQ(fills[i].top, expected[i].top) << i;
        EXPECT_EQ(fills[i].right, expected[i].right) << i;
        EXPECT_EQ(fills[i].bottom, expected[i].bottom) << i;
    }
}

}  // namespace
}  // namespace mosaiko
