// Portable-bitmap text: header lines, geometry, repetition by Pxmag, and the
// text of a failed run.
#include <gtest/gtest.h>

#include "EncoderTestUtil.h"
#include "QrDriver.h"

namespace mosaiko::test {
namespace {

// Reads the first bitmap back into module darkness and checks it against the matrix.
void ExpectBitmapMatches(const std::vector<std::string>& pbm, size_t first, const QrEncoder& e, int p) {
    const int n = e.ModulesPerSide();
    for (int r = 0; r < n; ++r)
        for (int y = 0; y < p; ++y) {
            const std::string& line = pbm[first + static_cast<size_t>((4 + r) * p + y)];
            for (int c = 0; c < n; ++c)
                for (int x = 0; x < p; ++x)
                    ASSERT_EQ(line[static_cast<size_t>(2 * ((4 + c) * p + x) + 1)], e.ModuleIsDark(r, c) ? '1' : '0');
        }
}

QrDriver& Prepared(QrDriver& d, const std::string& code, int count = 1) {
    d.SetCode(code);
    d.Encoder().SetCount(count);
    d.SplitData();
    SettingsError error;
    EXPECT_TRUE(d.CheckSettings(error));
    return d;
}

TEST(PbmText, OneSymbolAtPxmag1) {
    QrDriver d;
    const auto& pbm = Prepared(d, "PBM").GetPBM();
    ASSERT_EQ(pbm.size(), 34u);
    EXPECT_EQ(pbm[0], "P1");
    EXPECT_EQ(pbm[1], "Single Mode (Count = 1)");
    EXPECT_EQ(pbm[2], "29 29");
    EXPECT_EQ(pbm[3], "");
    EXPECT_EQ(pbm[4], "");
    for (size_t i = 5; i < 34; ++i) {
        ASSERT_EQ(pbm[i].size(), 58u);
        EXPECT_EQ(pbm[i][0], ' ');
    }
    EXPECT_EQ(pbm[5], pbm[33]);
    ExpectBitmapMatches(pbm, 5, d.Encoder(), 1);
}

TEST(PbmText, Pxmag2RepeatsRowsAndColumns) {
    QrDriver d;
    d.SetPxmag(2);
    const std::vector<std::string> pbm = Prepared(d, "PBM").GetPBM();
    EXPECT_EQ(pbm[2], "58 58");
    ASSERT_EQ(pbm.size(), 3u + 2u + 58u);
    EXPECT_EQ(pbm[5 + 8], pbm[5 + 9]);  // module row 0 twice
    ExpectBitmapMatches(pbm, 5, d.Encoder(), 2);
    EXPECT_EQ(pbm[5].find('1'), std::string::npos);  // quiet zone
}

TEST(PbmText, SeveralSymbolsAndModeLines) {
    QrDriver plus;
    plus.Encoder().SetMode(qrPlus);
    const auto& three = Prepared(plus, "PLUS-MODE", 3).GetPBM();
    EXPECT_EQ(three[1], "Plus Mode (Count = 3)");
    EXPECT_EQ(three.size(), 3u + 3u * 31u);

    QrDriver connect;
    const auto& two = Prepared(connect, "CONNECT", 2).GetPBM();
    EXPECT_EQ(two[1], "Connect Mode (Count = 2)");
    EXPECT_EQ(two.size(), 3u + 2u * 31u);
    EXPECT_EQ(connect.Encoder().CurrentSymbol(), 3);
}

TEST(PbmText, StopsAtTheFirstFailureAndRebuildsInPlace) {
    QrDriver d;
    const std::vector<std::string>* list = &Prepared(d, std::string(30, 'x')).GetPBM();
    EXPECT_EQ(list->size(), 3u);  // the only symbol does not fit version 1

    d.Encoder().SetMode(qrPlus);
    Prepared(d, std::string(18, '1') + std::string(18, 'y'), 2);  // the second piece does not fit
    const auto& partial = d.GetPBM();
    EXPECT_EQ(&partial, list);
    EXPECT_EQ(partial.size(), 3u + 31u);
    EXPECT_EQ(d.GetPBM(), partial);
}

}  // namespace
}  // namespace mosaiko::test
