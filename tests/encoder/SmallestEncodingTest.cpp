// The smallest encoding against a model of its own: for random texts of
// every character class, every version band and every level, the encoder's
// bit count is the model's minimum, never above the automatic rule nor plain
// bytes, and every symbol reads back to its bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>

#include "CharacterTables.h"
#include "EncoderTestUtil.h"

namespace mosaiko::test {
namespace {

// Count widths by band (versions 1-9, 10-26, 27-40) and mode.
int CountWidth(int version, int mode) {
    static const int kWidths[3][4] = {{10, 9, 8, 8}, {12, 11, 16, 10}, {14, 13, 16, 12}};
    return kWidths[version <= 9 ? 0 : version <= 26 ? 1 : 2][mode];
}

// Bits of one segment of `chars` characters holding `bytes` bytes.
int ModelSegment(int version, int mode, int chars, int bytes) {
    const int payload[4] = {10 * (chars / 3) + (chars % 3 == 0 ? 0 : chars % 3 == 1 ? 4 : 7),
                            11 * (chars / 2) + 6 * (chars % 2), 8 * bytes, 13 * chars};
    return 4 + CountWidth(version, mode) + payload[mode];
}

// The fewest bits over every cut of the text into segments: best[i] is the
// minimum for the first i characters, trying each last segment in each mode.
int ModelMinimum(int version, const std::string& text) {
    std::vector<int> starts;  // character starts: a Kanji pair is one character
    for (size_t p = 0; p < text.size();) {
        starts.push_back(static_cast<int>(p));
        const bool pair = p + 1 < text.size() && tables::IsKanjiPair(static_cast<uint8_t>(text[p]),
                                                                      static_cast<uint8_t>(text[p + 1]));
        p += pair ? 2 : 1;
    }
    const int n = static_cast<int>(starts.size());
    starts.push_back(static_cast<int>(text.size()));
    std::vector<int> best(static_cast<size_t>(n) + 1, INT_MAX);
    best[0] = 0;
    for (int j = 0; j < n; ++j) {
        bool ok[4] = {true, true, true, true};
        for (int i = j; i < n; ++i) {
            const int width = starts[i + 1] - starts[i];
            const auto b = static_cast<uint8_t>(text[starts[i]]);
            ok[0] = ok[0] && width == 1 && b >= '0' && b <= '9';
            ok[1] = ok[1] && width == 1 && b < 0x80 && tables::kAlphanumericValue[b] >= 0;
            ok[3] = ok[3] && width == 2;
            for (int m = 0; m < 4; ++m)
                if (ok[m])
                    best[i + 1] = std::min(best[i + 1],
                                           best[j] + ModelSegment(version, m, i + 1 - j, starts[i + 1] - starts[j]));
        }
    }
    return best[n];
}

std::string RandomText(std::mt19937& rng, int length) {
    static const std::string kRuns[] = {"0123456789", "ABCXYZ $%*+-./:", "abcxyz,!?\r\n"};
    static const char* kKanji[] = {"\x93\xfa", "\x96\x7b", "\x8c\xea", "\xe0\x40", "\xea\xa4", "\x9f\xfc"};
    std::string s;
    while (static_cast<int>(s.size()) < length) {
        const unsigned kind = rng() % 4;
        const unsigned run = 1 + rng() % 9;
        for (unsigned i = 0; i < run; ++i)
            s += kind == 3 ? std::string(kKanji[rng() % 6]) : std::string(1, kRuns[kind][rng() % kRuns[kind].size()]);
    }
    s.resize(static_cast<size_t>(length));
    if (static_cast<uint8_t>(s.back()) >= 0x81) s.back() = 'q';  // no lone lead byte at the end
    return s;
}

TEST(SmallestEncoding, MatchesModelAndDecodesInEveryBandAndLevel) {
    std::mt19937 rng(20);
    for (int version : {1, 5, 9, 10, 17, 26, 27, 33, 40}) {
        for (int level = kLevelL; level <= kLevelH; ++level) {
            for (int round = 0; round < 4; ++round) {
                const int bytesRoom = SymbolParameters[version].Levels[level].Capacity[kModeByte];
                std::string text = RandomText(rng, 1 + static_cast<int>(rng() % static_cast<unsigned>(bytesRoom)));
                auto e = MakeEncoder(version, level, text);
                e->SetEmodeOptimal(true);
                const int smallest = e->SegmentedBits(true);
                ASSERT_EQ(smallest, ModelMinimum(version, text)) << "version " << version << " text " << text;
                EXPECT_LE(smallest, e->SegmentedBits(false));
                EXPECT_LE(smallest, ModelSegment(version, kModeByte, 0, static_cast<int>(text.size())));
                const bool fits = smallest <= e->Level().DataCodewords * 8;
                ASSERT_EQ(e->BuildSymbol(), fits) << "version " << version << " level " << level;
                if (!fits) continue;
                const auto decoded = DecodeSymbol(*e);
                ASSERT_TRUE(decoded) << "version " << version << " level " << level;
                EXPECT_EQ(decoded->bytes, text);
                EXPECT_EQ(decoded->ecLevel, std::string(1, "LMQH"[level]));
            }
        }
    }
}

// "Osaka branch, sales" lines, each ended by CR LF: the automatic rule makes
// every word a segment of its own; the smallest encoding fits where it fails.
TEST(SmallestEncoding, FitsMixedTextTheAutomaticRuleRefuses) {
    std::string text;
    for (int i = 0; i < 35; ++i) text += "Osaka branch, sales\r\n";
    auto e = MakeEncoder(20, kLevelL, text);
    EXPECT_FALSE(e->BuildSymbol());
    e->SetEmodeOptimal(true);
    ASSERT_TRUE(e->BuildSymbol());
    EXPECT_EQ(DecodeSymbolBytes(*e), text);
    EXPECT_EQ(e->EmodeR(), kModeByte);
}

TEST(SmallestEncoding, EmptyTextAndFixedModesAreUnchanged) {
    auto empty = MakeEncoder(1, kLevelL, "");
    empty->SetEmodeOptimal(true);
    ASSERT_TRUE(empty->BuildSymbol());
    EXPECT_EQ(empty->EmodeR(), kModeAuto);
    // A fixed mode is taken as it is, whatever the switch says.
    auto fixed = MakeEncoder(1, kLevelL, "12345", kModeByte);
    fixed->SetEmodeOptimal(true);
    ASSERT_TRUE(fixed->BuildSymbol());
    EXPECT_EQ(BitReader(fixed->DataCodewordBuffer()).Read(4), 0b0100);
}

}  // namespace
}  // namespace mosaiko::test
