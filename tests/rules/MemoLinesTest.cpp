#include <gtest/gtest.h>

#include <string>

#include "Grouping.h"
#include "MemoLines.h"

using namespace mosaiko;
using namespace std::string_literals;

TEST(MemoLines, KeepsLinesAsBytes) {
    MemoLines memo;
    EXPECT_TRUE(memo.Empty());
    memo.Append("1,a");
    memo.Append("");
    memo.Append("2,\0\x81\x7e\xff"s);
    memo.Append(kSeparatorLine);
    memo.Append("3,c");
    ASSERT_EQ(memo.Count(), 5u);
    EXPECT_EQ(memo.Line(0), "1,a");
    EXPECT_EQ(memo.Line(1), "");
    EXPECT_EQ(memo.Line(2), "2,\0\x81\x7e\xff"s);
    EXPECT_EQ(memo.Line(3), kSeparatorLine);
    EXPECT_EQ(memo.Line(4), "3,c");
    EXPECT_EQ(memo.Line(5), "");  // beyond the last line
    memo.Clear();
    EXPECT_EQ(memo.Count(), 0u);
    memo.Append("x");
    EXPECT_EQ(memo.Line(0), "x");
}

TEST(MemoLines, NearSeparatorsAreOrdinaryLines) {
    MemoLines memo;
    memo.Append(std::string(112, '-'));
    memo.Append(std::string(114, '-'));
    EXPECT_EQ(memo.Line(0).size(), 112u);
    EXPECT_EQ(memo.Line(1).size(), 114u);
}

TEST(MemoLines, MillionLinesStayWithinASmallMultipleOfTheFile) {
    MemoLines memo;
    std::size_t fileBytes = 0;
    for (int i = 0; i < 1000000; ++i) {
        const std::string line = std::to_string(i % 1000) + ",item text";
        fileBytes += line.size() + 2;  // with CR LF
        if (i % 1000 == 0 && i > 0) memo.Append(kSeparatorLine);
        memo.Append(line);
    }
    EXPECT_EQ(memo.Count(), 1000999u);
    EXPECT_EQ(memo.Line(1000998), "999,item text");
    EXPECT_LT(memo.MemoryUsed(), fileBytes * 4);
}
