// Packing black-and-white lines to one bit per pixel.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "BlackWhiteLine.h"

namespace mosaiko {
namespace {

// Every width and every position of a pixel that is neither black nor white,
// against the plain per-pixel meaning (the packer works eight at a time).
TEST(BlackWhiteLine, PacksToOneBitAtAnyWidth) {
    std::mt19937 rng(7);
    for (int width = 1; width <= 41; ++width) {
        std::vector<uint32_t> line(static_cast<size_t>(width));
        for (uint32_t& p : line) p = (rng() & 1) ? 0xff000000u : 0xffffffffu;
        std::vector<uint8_t> out(static_cast<size_t>((width + 7) / 8), 0x5a);
        ASSERT_TRUE(PackBlackWhiteLine(line.data(), width, 0, out.data())) << width;
        for (int x = 0; x < width; ++x) {
            const bool white = (out[static_cast<size_t>(x / 8)] >> (7 - x % 8)) & 1;
            ASSERT_EQ(white, line[static_cast<size_t>(x)] == 0xffffffffu) << width << "@" << x;
        }
        // The bits after the last pixel are white, whatever the buffer held.
        for (int x = width; x % 8 != 0; ++x)
            EXPECT_TRUE((out[static_cast<size_t>(x / 8)] >> (7 - x % 8)) & 1) << width << " padding bit " << x;
        for (int x = 0; x < width; ++x) {
            std::vector<uint32_t> grey = line;
            grey[static_cast<size_t>(x)] = 0xff808080u;
            EXPECT_FALSE(PackBlackWhiteLine(grey.data(), width, 0, out.data())) << width << "@" << x;
        }
        // A transparent black is neither, unless the top byte is ignored.
        std::vector<uint32_t> clear = line;
        clear[static_cast<size_t>(width - 1)] = 0x00000000u;
        EXPECT_FALSE(PackBlackWhiteLine(clear.data(), width, 0, out.data()));
        EXPECT_TRUE(PackBlackWhiteLine(clear.data(), width, 0xff000000u, out.data()));
    }
}

}  // namespace
}  // namespace mosaiko
