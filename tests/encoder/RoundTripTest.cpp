// Every version and level, texts of every mode at and near the capacity,
// encoded and read back by a real decoder.
#include <gtest/gtest.h>

#include <random>

#include "EncoderTestPeer.h"
#include "EncoderTestUtil.h"

namespace mosaiko::test {
namespace {

std::string Repeat(const std::string& alphabet, int length, unsigned seed) {
    std::mt19937 rng(seed);
    std::string s(static_cast<size_t>(length), ' ');
    for (char& c : s) c = alphabet[rng() % alphabet.size()];
    return s;
}

// Shift-JIS Kanji characters from both lead-byte ranges.
std::string KanjiText(int characters, unsigned seed) {
    static const char* kPairs[] = {"\x93\xfa", "\x96\x7b", "\x8c\xea", "\x88\x9f", "\x98\x72",
                                   "\xe0\x40", "\xea\xa4", "\x81\x40", "\x9f\xfc", "\xeb\xbf"};
    std::mt19937 rng(seed);
    std::string s;
    for (int i = 0; i < characters; ++i) s += kPairs[rng() % 10];
    return s;
}

// A text of alternating runs that segments into several modes.
std::string MixedText(int length, unsigned seed) {
    std::mt19937 rng(seed);
    std::string s;
    while (static_cast<int>(s.size()) < length) {
        switch (rng() % 4) {
        case 0: s += Repeat("0123456789", 4 + rng() % 12, rng()); break;
        case 1: s += Repeat("ABCXYZ $%*+-./:", 3 + rng() % 10, rng()); break;
        case 2: s += Repeat("abcxyz!?", 2 + rng() % 6, rng()); break;
        default: s += KanjiText(1 + rng() % 4, rng()); break;
        }
    }
    s.resize(static_cast<size_t>(length));
    if (static_cast<uint8_t>(s.back()) >= 0x81) s.back() = 'q';  // no lone lead byte at the end
    return s;
}

void ExpectRoundTrip(int version, int level, const std::string& text, int emode = -1) {
    auto e = MakeEncoder(version, level, text, emode);
    ASSERT_TRUE(e->BuildSymbol()) << "version " << version << " level " << level << " length " << text.size();
    const auto decoded = DecodeSymbol(*e);
    ASSERT_TRUE(decoded) << "version " << version << " level " << level << " length " << text.size();
    EXPECT_EQ(decoded->bytes, text) << "version " << version << " level " << level;
    EXPECT_EQ(decoded->ecLevel, std::string(1, "LMQH"[level]));
}

void ExpectTooLong(int version, int level, const std::string& text) {
    QrEncoder e;
    e.SetVersion(version);
    e.SetEclevel(level);
    const bool stored = e.SetSymbolText(reinterpret_cast<const uint8_t*>(text.data()), static_cast<int>(text.size()));
    EXPECT_FALSE(stored && e.BuildSymbol()) << "version " << version << " level " << level << " length " << text.size();
}

// The longest prefix-grown text of the generator that still encodes.
template <typename Generator>
std::string LongestFitting(int version, int level, Generator make) {
    int lo = 1, hi = SymbolParameters[version].Levels[level].Capacity[0];
    while (lo < hi) {
        const int mid = (lo + hi + 1) / 2;
        if (Peer::EncodeAuto(*MakeEncoder(version, level, make(mid))) == 0) lo = mid;
        else hi = mid - 1;
    }
    return make(lo);
}

class EveryVersion : public ::testing::TestWithParam<int> {};

TEST_P(EveryVersion, EveryModeAtCapacity) {
    const int version = GetParam();
    for (int level = 0; level < 4; ++level) {
        const int* cap = SymbolParameters[version].Levels[level].Capacity;
        const unsigned seed = static_cast<unsigned>(version * 4 + level);
        ExpectRoundTrip(version, level, Repeat("0123456789", cap[0], seed));
        ExpectRoundTrip(version, level, Repeat("ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:", cap[1], seed));
        ExpectRoundTrip(version, level, Repeat("abcdefghijklmnopqrstuvwxyz", cap[2], seed));
        ExpectRoundTrip(version, level, KanjiText(cap[3], seed));
        ExpectRoundTrip(version, level, Repeat("abc", cap[2] - 1, seed));  // just below

        ExpectTooLong(version, level, Repeat("0123456789", cap[0] + 1, seed));
        ExpectTooLong(version, level, Repeat("ABCDEFGHIJKLMNOPQRSTUVWXYZ", cap[1] + 1, seed));
        ExpectTooLong(version, level, Repeat("abcdefghijklmnopqrstuvwxyz", cap[2] + 1, seed));
        ExpectTooLong(version, level, KanjiText(cap[3] + 1, seed));
    }
}

// Binary data fills the symbol in byte mode; in automatic mode its stray
// Kanji pairs become short segments of their own, so less of it fits.
TEST_P(EveryVersion, BinaryAndMixedTexts) {
    const int version = GetParam();
    std::mt19937 rng(static_cast<unsigned>(version));
    std::string binary(7089, '\0');
    for (char& c : binary) c = static_cast<char>(rng() % 256);
    for (int level = 0; level < 4; ++level) {
        const int byteCapacity = SymbolParameters[version].Levels[level].Capacity[kModeByte];
        ExpectRoundTrip(version, level, binary.substr(0, static_cast<size_t>(byteCapacity)), kModeByte);
        ExpectRoundTrip(version, level, LongestFitting(version, level, [&](int n) {
                            std::string s = binary.substr(0, static_cast<size_t>(n));
                            if (static_cast<uint8_t>(s.back()) >= 0x81) s.back() = 'q';
                            return s;
                        }));
        const unsigned seed = rng();
        ExpectRoundTrip(version, level, LongestFitting(version, level, [&](int n) { return MixedText(n, seed); }));
    }
}

INSTANTIATE_TEST_SUITE_P(Versions, EveryVersion, ::testing::Range(1, 41));

TEST(RoundTrip, StructuredAppendSymbolsCarryTheirPosition) {
    auto e = MakeEncoder(2, kLevelM, "PIECE");
    e->SetStructure(qrConnect, 4, 0x3C, 3);
    ASSERT_TRUE(e->BuildSymbol());
    const auto decoded = DecodeSymbol(*e);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->bytes, "PIECE");
    EXPECT_EQ(decoded->sequenceIndex, 2);
    EXPECT_EQ(decoded->sequenceSize, 4);
    EXPECT_EQ(decoded->sequenceId, std::to_string(0x3C));
}

}  // namespace
}  // namespace mosaiko::test
