// Data codewords: the standard's examples, automatic segmentation, capacity
// limits, fixed modes and the structured-append header.
#include <gtest/gtest.h>

#include <random>

#include "CharacterRuns.h"
#include "EncoderTestPeer.h"
#include "EncoderTestUtil.h"

namespace mosaiko::test {
namespace {

struct Segment {
    int mode;
    int count;
};

// Walks the segment headers of an encoded stream (no structured append).
std::vector<Segment> Segments(const QrEncoder& e) {
    static constexpr int kBitsPerMode[4][3] = {{10, 3, 0}, {11, 2, 0}, {8, 1, 0}, {13, 1, 0}};
    BitReader in(e.DataCodewordBuffer());
    std::vector<Segment> out;
    const int total = e.Level().DataCodewords * 8;
    while (in.Position() + 4 <= total) {
        const int indicator = in.Read(4);
        int mode = indicator == 1 ? 0 : indicator == 2 ? 1 : indicator == 4 ? 2 : indicator == 8 ? 3 : -1;
        if (mode < 0) break;
        const int count = in.Read(e.Params().CountIndicatorBits[mode]);
        out.push_back({mode, count});
        if (mode == 0) in.Skip(10 * (count / 3) + (count % 3 == 1 ? 4 : count % 3 == 2 ? 7 : 0));
        else if (mode == 1) in.Skip(11 * (count / 2) + 6 * (count % 2));
        else in.Skip(kBitsPerMode[mode][0] * count);
    }
    return out;
}

TEST(DataEncoding, StandardExamples) {
    auto hello = MakeEncoder(1, kLevelQ, "HELLO WORLD");
    ASSERT_EQ(Peer::EncodeAuto(*hello), 0);
    EXPECT_EQ(DataCodewords(*hello),
              (std::vector<int>{0x20, 0x5B, 0x0B, 0x78, 0xD1, 0x72, 0xDC, 0x4D, 0x43, 0x40, 0xEC, 0x11, 0xEC}));
    EXPECT_EQ(hello->EmodeR(), kModeAlphanumeric);

    auto digits = MakeEncoder(1, kLevelM, "01234567", kModeNumeric);
    ASSERT_EQ(Peer::EncodeFixed(*digits), 0);
    EXPECT_EQ(DataCodewords(*digits), (std::vector<int>{0x10, 0x20, 0x0C, 0x56, 0x61, 0x80, 0xEC, 0x11, 0xEC, 0x11,
                                                         0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11}));
}

TEST(DataEncoding, EmptyText) {
    auto automatic = MakeEncoder(1, kLevelL, "");
    automatic->SetEmode(kModeByte);
    automatic->SetEmode(kModeAuto);
    ASSERT_EQ(Peer::EncodeAuto(*automatic), 0);
    std::vector<int> expected{0x00};
    for (int i = 0; i < 18; ++i) expected.push_back(i % 2 ? 0x11 : 0xEC);
    EXPECT_EQ(DataCodewords(*automatic), expected);
    EXPECT_EQ(automatic->EmodeR(), -1);

    auto fixed = MakeEncoder(1, kLevelL, "", kModeByte);
    ASSERT_EQ(Peer::EncodeFixed(*fixed), 0);
    EXPECT_EQ(fixed->DataCodewordBuffer()[0], 0x40);  // byte mode, count 0
    EXPECT_EQ(fixed->DataCodewordBuffer()[1], 0x00);
}

TEST(DataEncoding, StructuredAppendHeader) {
    auto e = MakeEncoder(1, kLevelL, "ABC");
    e->SetStructure(qrConnect, 3, 0x5A, 2);
    ASSERT_EQ(Peer::EncodeAuto(*e), 0);
    const std::vector<int> all = DataCodewords(*e);
    const std::vector<int> start(all.begin(), all.begin() + 9);
    EXPECT_EQ(start, (std::vector<int>{0x31, 0x25, 0xA2, 0x01, 0x9C, 0xD3, 0x00, 0xEC, 0x11}));

    // The header takes 20 bits from the room the data sees.
    auto full = MakeEncoder(1, kLevelL, std::string(41, '7'));
    EXPECT_EQ(Peer::EncodeAuto(*full), 0);
    full->SetStructure(qrConnect, 2, 0, 1);
    EXPECT_EQ(Peer::EncodeAuto(*full), -1);
}

TEST(DataEncoding, SegmentationChoosesCheaperSplit) {
    struct Case {
        const char* text;
        int version;
        std::vector<std::pair<int, int>> segments;  // mode, count
        int emodeR;
    };
    const Case cases[] = {
        {"123ABC", 1, {{1, 6}}, 1},
        {"12345678ABC", 1, {{0, 8}, {1, 3}}, 1},
        {"abc123", 1, {{2, 6}}, 2},
        {"abc1234567", 1, {{2, 3}, {0, 7}}, 0},
        {"ABCDEF1234567abc", 1, {{1, 6}, {0, 7}, {2, 3}}, 2},
        {"ABCDEF1234567abc", 10, {{1, 13}, {2, 3}}, 2},
        {"Hello, World 2024!", 2, {{2, 6}, {2, 6}, {2, 6}}, 2},
        {"\x93\xfa\x96\x7b" "123", 1, {{3, 2}, {0, 3}}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        auto e = MakeEncoder(c.version, kLevelL, c.text);
        ASSERT_EQ(Peer::EncodeAuto(*e), 0);
        std::vector<std::pair<int, int>> got;
        for (const Segment& s : Segments(*e)) got.emplace_back(s.mode, s.count);
        EXPECT_EQ(got, c.segments);
        EXPECT_EQ(e->EmodeR(), c.emodeR);
    }
    EXPECT_EQ(Peer::EncodeAuto(*MakeEncoder(1, kLevelL, "Hello, World 2024!")), -1);  // 180 bits > 152
}

TEST(DataEncoding, CapacityLimitsAndTerminator) {
    auto fits = MakeEncoder(1, kLevelL, std::string(41, '1'));
    ASSERT_EQ(Peer::EncodeAuto(*fits), 0);
    EXPECT_EQ(Peer::RemainingBits(*fits), 0);  // 151 bits of data, terminator cut to one bit
    EXPECT_EQ(Peer::EncodeAuto(*MakeEncoder(1, kLevelL, std::string(42, '1'))), -1);
    EXPECT_EQ(Peer::EncodeAuto(*MakeEncoder(1, kLevelL, std::string(17, 'a'))), 0);
    EXPECT_EQ(Peer::EncodeAuto(*MakeEncoder(1, kLevelL, std::string(18, 'a'))), -1);
}

TEST(DataEncoding, FixedModesRejectForeignBytes) {
    EXPECT_EQ(Peer::EncodeFixed(*MakeEncoder(1, kLevelL, "12a", kModeNumeric)), -1);
    EXPECT_EQ(Peer::EncodeFixed(*MakeEncoder(1, kLevelL, "abc", kModeAlphanumeric)), -1);
    EXPECT_EQ(Peer::EncodeFixed(*MakeEncoder(1, kLevelL, "abc", kModeByte)), 0);
    EXPECT_EQ(Peer::EncodeFixed(*MakeEncoder(1, kLevelL, "\x93\xfa", kModeKanji)), 0);
    EXPECT_EQ(Peer::EncodeFixed(*MakeEncoder(1, kLevelL, "\x93\xfa\x96", kModeKanji)), -1);  // odd length
    EXPECT_EQ(Peer::EncodeFixed(*MakeEncoder(1, kLevelL, "\x93\x3f", kModeKanji)), -1);      // bad trail byte
    EXPECT_EQ(Peer::EncodeFixed(*MakeEncoder(1, kLevelL, "\xEC\x40", kModeKanji)), -1);      // beyond the lead range
}

// 0xEBC0-0xEBFC lie beyond the standard's Kanji range (their value needs 14
// bits): they are never Kanji characters.
TEST(DataEncoding, PairsBeyondKanjiRangeAreBytes) {
    EXPECT_EQ(Peer::EncodeFixed(*MakeEncoder(1, kLevelL, "\xEB\xBF", kModeKanji)), 0);
    EXPECT_EQ(Peer::EncodeFixed(*MakeEncoder(1, kLevelL, "\xEB\xC0", kModeKanji)), -1);
    EXPECT_EQ(Peer::EncodeFixed(*MakeEncoder(1, kLevelL, "\xEB\xFC", kModeKanji)), -1);

    auto e = MakeEncoder(1, kLevelL, "\xEB\xC0\x93\xfa");
    EXPECT_EQ(Peer::CharClass(*e, 0, 4), kModeByte);
    EXPECT_EQ(Peer::CharClass(*e, 1, 3), kModeByte);  // the trail byte is classified on its own
    ASSERT_EQ(Peer::EncodeAuto(*e), 0);
    const auto segments = Segments(*e);
    ASSERT_EQ(segments.size(), 2u);
    EXPECT_EQ(segments[0].mode, kModeByte);
    EXPECT_EQ(segments[0].count, 2);
    EXPECT_EQ(segments[1].mode, kModeKanji);
}

TEST(DataEncoding, LowerCaseNeedsByteMode) {
    EXPECT_EQ(Peer::EncodeFixed(*MakeEncoder(1, kLevelL, "hello", kModeAlphanumeric)), -1);
    auto e = MakeEncoder(1, kLevelL, "hello");
    ASSERT_EQ(Peer::EncodeAuto(*e), 0);
    EXPECT_EQ(e->EmodeR(), kModeByte);
}

TEST(DataEncoding, CapacityProperty) {
    auto e = MakeEncoder(20, kLevelL, "");
    EXPECT_EQ(e->GetCapacity(), SymbolParameters[20].Levels[0].Capacity[kModeAlphanumeric]);
    e->SetEmode(kModeByte);
    EXPECT_EQ(e->GetCapacity(), 858);
    e->SetMode(qrConnect);
    e->SetCount(3);
    EXPECT_EQ(e->GetCapacity(), 3 * 858);
}

TEST(DataEncoding, SettersRefuseValuesOutOfRange) {
    QrEncoder e;
    EXPECT_FALSE(e.SetVersion(0));
    EXPECT_FALSE(e.SetVersion(41));
    EXPECT_FALSE(e.SetEclevel(4));
    EXPECT_FALSE(e.SetEmode(-2));
    EXPECT_FALSE(e.SetMasktype(8));
    EXPECT_FALSE(e.SetCount(1025));
    EXPECT_EQ(e.Version(), 1);
    EXPECT_EQ(e.Masktype(), -1);
    EXPECT_TRUE(e.SetEmode(kModeByte));
    EXPECT_EQ(e.EmodeR(), kModeByte);
    e.SetCount(20);
    e.SetMode(qrConnect);
    EXPECT_EQ(e.Count(), 16);
    e.SetCount(1);
    e.SetMode(qrPlus);
    EXPECT_EQ(e.Count(), 2);
    e.SetMode(qrSingle);
    EXPECT_EQ(e.Count(), 1);
}

// The sixteen-byte scan ends every run where the byte-by-byte scan does:
// texts of bytes from each class, Kanji pairs, lone lead bytes and 0xEBC0.
TEST(DataEncoding, FastRunScanEqualsPlainScan) {
    const uint8_t alphabet[] = {'0', '9', 'A', ':', ' ', 'a', 0x80, 0x81, 0x40, 0x9F, 0xFC, 0xE0, 0xEB, 0xC0, 0xBF, 0xFF};
    std::mt19937 rng(404);
    for (int round = 0; round < 300; ++round) {
        const int runs = static_cast<int>(rng() % 4) + 1;
        std::vector<uint8_t> text;
        for (int r = 0; r < runs; ++r) {
            const uint8_t pick[2] = {alphabet[rng() % 16], alphabet[rng() % 16]};  // long runs of one or two bytes
            for (int n = static_cast<int>(rng() % 40); n > 0; --n) text.push_back(pick[rng() % 2]);
        }
        const int length = static_cast<int>(text.size());
        for (int start = 0; start <= length; ++start)
            for (int cls = 0; cls < 3; ++cls)
                ASSERT_EQ(ClassRunLength(text.data() + start, length - start, cls),
                          ClassRunLengthPlain(text.data() + start, length - start, cls))
                    << "round " << round << " start " << start << " class " << cls;
    }
}

// Byte segments after numeric ones of every length: each bit offset of the
// eight-byte steps reads back as the text.
TEST(DataEncoding, BytePayloadAtEveryBitOffset) {
    const std::string bytes = "abcdefghijklmnopqrstuvwxyz,;!?_'abcdefgh";
    for (int digits = 0; digits <= 24; ++digits) {
        SCOPED_TRACE(digits);
        const std::string text = std::string(static_cast<size_t>(digits), '7') + bytes;
        auto e = MakeEncoder(5, kLevelL, text);
        ASSERT_EQ(Peer::EncodeAuto(*e), 0);
        BitReader in(e->DataCodewordBuffer());
        const auto segments = Segments(*e);
        ASSERT_FALSE(segments.empty());
        const Segment last = segments.back();
        ASSERT_EQ(last.mode, kModeByte);
        for (const Segment& s : segments) {
            in.Skip(4 + e->Params().CountIndicatorBits[s.mode]);
            if (s.mode == kModeNumeric) in.Skip(10 * (s.count / 3) + (s.count % 3 == 1 ? 4 : s.count % 3 == 2 ? 7 : 0));
        }
        std::string read;
        for (int i = 0; i < last.count; ++i) read.push_back(static_cast<char>(in.Read(8)));
        EXPECT_EQ(read, text.substr(text.size() - static_cast<size_t>(last.count)));
    }
}

}  // namespace
}  // namespace mosaiko::test
