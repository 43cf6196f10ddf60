// The driver: tilde escapes, the split over several symbols, the settings
// check, and whole runs read back by a real decoder.
#include <gtest/gtest.h>

#include <random>

#include "EncoderTestUtil.h"
#include "QrDriver.h"
#include "SymbolEncoder.h"

namespace mosaiko::test {
namespace {

std::string DataOf(const QrDriver& d) { return std::string(reinterpret_cast<const char*>(d.Data()), d.Len()); }

std::vector<int> PieceSizes(QrDriver& d) {
    d.SplitData();
    std::vector<int> sizes;
    for (int k = 1; k <= d.Encoder().Count(); ++k) sizes.push_back(d.PieceLength(k));
    return sizes;
}

TEST(Driver, TildeEscapes) {
    QrDriver d;
    d.SetBinaryOperation(true);
    struct Case {
        const char* code;
        std::string data;
        bool binary;
    };
    const Case ok[] = {{"A~0D0A~B", "A\r\nB", false},
                       {"~00~", std::string(1, '\0'), true},
                       {"~~", "~", false},
                       {"~0d~", "\r", false},
                       {"x~4142~y~~z", "xABy~z", false},
                       {"\x81~", "\x81~", false}};  // 0x7E as the second byte of a character is no tilde
    for (const Case& c : ok) {
        d.SetCode(c.code);
        EXPECT_EQ(DataOf(d), c.data) << c.code;
        EXPECT_EQ(d.Binary(), c.binary) << c.code;
        EXPECT_TRUE(d.BinaryOperation()) << c.code;
        EXPECT_EQ(d.Data()[d.Len()], 0);  // zero bytes follow the data
    }
    for (const char* bad : {"~0~", "~41", "~4G~"}) {
        d.SetBinaryOperation(true);
        d.SetCode(bad);
        EXPECT_EQ(DataOf(d), bad);
        EXPECT_FALSE(d.BinaryOperation()) << bad;
        EXPECT_FALSE(d.Binary()) << bad;
    }
    d.SetCode("~41~");  // escapes stay off until switched on again
    EXPECT_EQ(DataOf(d), "~41~");
}

TEST(Driver, SplitSizesAndModes) {
    QrDriver d;
    d.SetCode("0123456789");
    d.Encoder().SetCount(4);
    EXPECT_EQ(PieceSizes(d), (std::vector<int>{3, 3, 3, 1}));
    EXPECT_EQ(d.Encoder().Mode(), qrConnect);
    d.Encoder().SetCount(6);
    EXPECT_EQ(PieceSizes(d), (std::vector<int>{1, 1, 1, 1, 1, 5}));
    d.Encoder().SetCount(3);
    EXPECT_EQ(PieceSizes(d), (std::vector<int>{4, 4, 2}));

    d.SetCode("abc");
    d.Encoder().SetCount(16);
    EXPECT_EQ(PieceSizes(d).size(), 3u);

    d.SetCode(std::string(25, 'x'));
    d.Encoder().SetMode(qrConnect);
    d.Encoder().SetCount(20);
    d.SplitData();
    EXPECT_EQ(d.Encoder().Count(), 20);
    EXPECT_EQ(d.Encoder().Mode(), qrPlus);

    d.SetCode("");
    d.SplitData();
    EXPECT_EQ(d.Encoder().Count(), 1);
    EXPECT_EQ(d.Encoder().Mode(), qrSingle);
    EXPECT_EQ(d.PieceLength(1), 0);
}

TEST(Driver, CutsNeverSplitAShiftJisCharacter) {
    QrDriver d;
    d.SetCode("a\x93\xfa" "b");  // the cut at 2 falls on the second byte of 0x93FA
    d.Encoder().SetCount(2);
    EXPECT_EQ(PieceSizes(d), (std::vector<int>{1, 3}));
    d.SetCode("\x93\xfa" "bc");  // moving back would empty piece 1: move forward
    d.Encoder().SetCount(4);
    EXPECT_EQ(PieceSizes(d), (std::vector<int>{2, 1, 1}));
    d.SetCode("\x93\xfa");  // moving forward reaches the end: no cut, Count shrinks
    d.Encoder().SetCount(2);
    EXPECT_EQ(PieceSizes(d), (std::vector<int>{2}));
    EXPECT_EQ(d.Encoder().Mode(), qrSingle);
}

TEST(Driver, CheckSettingsComputesTheParity) {
    QrDriver d;
    d.SetCode("ABCDE");
    d.Encoder().SetCount(3);
    d.SplitData();
    SettingsError error;
    ASSERT_TRUE(d.CheckSettings(error));
    EXPECT_EQ(d.Encoder().Parity(), 'A' ^ 'B' ^ 'C' ^ 'D' ^ 'E');
}

// Builds every piece and decodes it.
class DecodeVisitor : public SymbolVisitor {
public:
    explicit DecodeVisitor(QrDriver& d) : d_(d) {}
    bool Build(int) override {
        if (!d_.Encoder().BuildSymbol()) return false;
        decoded.push_back(DecodeSymbol(d_.Encoder()));
        return true;
    }
    std::vector<std::optional<Decoded>> decoded;

private:
    QrDriver& d_;
};

TEST(Driver, StructuredAppendRunsJoinToTheData) {
    std::mt19937 rng(42);
    for (int count = 2; count <= 16; ++count) {
        std::string text(static_cast<size_t>(count * 7 + rng() % 50), ' ');
        for (char& c : text) c = static_cast<char>(rng() % 256);
        QrDriver d;
        d.Encoder().SetVersion(5);
        d.Encoder().SetEclevel(kLevelM);
        d.SetCode(text);
        d.Encoder().SetCount(count);
        d.SplitData();
        SettingsError error;
        ASSERT_TRUE(d.CheckSettings(error));
        DecodeVisitor visitor(d);
        ASSERT_TRUE(d.RunSymbols(visitor));
        ASSERT_EQ(static_cast<int>(visitor.decoded.size()), d.Encoder().Count());
        std::string joined;
        for (int k = 0; k < d.Encoder().Count(); ++k) {
            const auto& symbol = visitor.decoded[static_cast<size_t>(k)];
            ASSERT_TRUE(symbol) << "symbol " << k + 1 << " of " << count;
            EXPECT_EQ(symbol->sequenceIndex, k);
            EXPECT_EQ(symbol->sequenceSize, d.Encoder().Count());
            EXPECT_EQ(symbol->sequenceId, std::to_string(d.Encoder().Parity()));
            joined += symbol->bytes;
        }
        EXPECT_EQ(joined, text);
        EXPECT_EQ(d.Encoder().CurrentSymbol(), d.Encoder().Count() + 1);
    }
}

TEST(Driver, PlusSymbolsStandAlone) {
    QrDriver d;
    d.Encoder().SetVersion(2);
    d.SetCode("PLUS MODE SYMBOLS, EACH ONE ON ITS OWN");
    d.Encoder().SetMode(qrPlus);
    d.Encoder().SetCount(5);
    d.SplitData();
    SettingsError error;
    ASSERT_TRUE(d.CheckSettings(error));
    DecodeVisitor visitor(d);
    ASSERT_TRUE(d.RunSymbols(visitor));
    std::string joined;
    for (const auto& symbol : visitor.decoded) {
        ASSERT_TRUE(symbol);
        EXPECT_EQ(symbol->sequenceIndex, -1);
        joined += symbol->bytes;
    }
    EXPECT_EQ(joined, d.Code());
}

TEST(Driver, RunStopsAtThePieceThatDoesNotFit) {
    QrDriver d;
    d.Encoder().SetVersion(1);  // 1-L: 18 digits fit, 18 lower-case letters (156 bits) do not
    d.SetCode(std::string(18, '1') + std::string(18, 'b') + std::string(18, '3'));
    d.Encoder().SetMode(qrPlus);
    d.Encoder().SetCount(3);
    d.SplitData();
    SettingsError error;
    ASSERT_TRUE(d.CheckSettings(error));
    DecodeVisitor visitor(d);
    EXPECT_FALSE(d.RunSymbols(visitor));
    ASSERT_EQ(visitor.decoded.size(), 1u);  // the third piece is not attempted
    EXPECT_EQ(visitor.decoded[0]->bytes, std::string(18, '1'));
    EXPECT_EQ(d.Encoder().CurrentSymbol(), 2);
    EXPECT_EQ(d.Encoder().LastFailure(), EncodeFailure::DoesNotFit);
}

// One kept encoder, request after request: out-of-range settings keep the
// previous value, and the capacity follows the last symbol made.
TEST(SymbolEncoder, ResultsOfSuccessiveRequests) {
    struct Case {
        std::string data;
        int version, emode, pxmag;
        SymbolFailure failure;
        int sidePixels, emodeR, capacity;
    };
    const Case cases[] = {
        {"1234", 1, kModeAuto, 3, SymbolFailure::None, 29 * 3, kModeNumeric, 41},
        {std::string(16, 'q') + "\r\n", 1, kModeAuto, 3, SymbolFailure::DoesNotFit, 29 * 3, kModeNumeric, 41},
        {"abc", 1, kModeNumeric, 3, SymbolFailure::ByteNotInMode, 29 * 3, kModeNumeric, 41},
        {std::string(7090, '9'), 40, kModeNumeric, 1, SymbolFailure::TooLong, 185, kModeNumeric, 7089},
        {"A", 2, kModeAuto, 0, SymbolFailure::None, 33, kModeAlphanumeric, 47},
    };
    SymbolEncoder symbols;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.data.substr(0, 20));
        const SymbolResult& r = symbols.Encode({c.data, c.version, kLevelL, c.emode, -1, c.pxmag});
        EXPECT_EQ(r.made, c.failure == SymbolFailure::None);
        EXPECT_EQ(r.failure, c.failure);
        EXPECT_EQ(r.sidePixels, c.sidePixels);
        EXPECT_EQ(r.emodeR, c.emodeR);
        EXPECT_EQ(r.capacity, c.capacity);
        EXPECT_EQ(r.matrix != nullptr, r.made);
        if (r.made) {
            EXPECT_TRUE(r.ModuleIsDark(0, 0));  // the finder's corner
        }
    }
}

// Measuring answers as encoding does, request after request on one kept
// encoder each, with no matrix; the measuring one keeps its last built symbol.
TEST(SymbolEncoder, MeasureAgreesWithEncode) {
    struct Case {
        std::string data;
        int version, level, emode;
        bool optimal;
    };
    const std::string mixed = "Osaka 0123456789 \x88\x9f\x88\xa0 ABC";
    const Case cases[] = {
        {"1234", 1, kLevelL, kModeAuto, false},
        {std::string(16, 'q') + "\r\n", 1, kLevelL, kModeAuto, false},
        {mixed, 2, kLevelM, kModeAuto, false},
        {mixed, 2, kLevelM, kModeAuto, true},
        {mixed, 1, kLevelH, kModeAuto, true},
        {"abc", 1, kLevelL, kModeNumeric, false},
        {"HELLO WORLD", 10, kLevelQ, kModeAlphanumeric, false},
        {std::string(300, '7'), 27, kLevelH, kModeNumeric, false},
        {"\x88\x9f\x88", 3, kLevelL, kModeKanji, false},
        {std::string(7090, '9'), 40, kLevelL, kModeNumeric, false},
        {mixed, 20, kLevelL, kModeByte, false},
        {std::string(3000, 'x'), 40, kLevelH, kModeAuto, false},
    };
    SymbolEncoder encoding;
    SymbolEncoder measuring;
    encoding.Encode({"A", 2});
    measuring.Encode({"A", 2});
    const uint8_t* built = measuring.Result().matrix;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.data.substr(0, 20));
        const SymbolRequest request{c.data, c.version, c.level, c.emode, -1, 2, c.optimal};
        const SymbolResult& e = encoding.Encode(request);
        const SymbolResult m = measuring.Measure(request);
        EXPECT_EQ(m.made, e.made);
        EXPECT_EQ(m.failure, e.failure);
        EXPECT_EQ(m.sidePixels, e.sidePixels);
        EXPECT_EQ(m.capacity, e.capacity);
        EXPECT_EQ(m.emodeR, e.emodeR);
        EXPECT_EQ(m.matrix, nullptr);
        EXPECT_EQ(measuring.Capacity(), encoding.Capacity());
        EXPECT_EQ(measuring.Result().matrix, built);
    }
}

}  // namespace
}  // namespace mosaiko::test
