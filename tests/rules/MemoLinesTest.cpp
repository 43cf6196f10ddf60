#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

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

// The groups recorded while lines are appended: first and last line of each.
TEST(MemoLines, RecordsTheGroupsAsLinesAreAppended) {
    const std::string sep(kSeparatorLine);
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        bool clearAfter;
        std::vector<std::pair<std::size_t, std::size_t>> groups;
    };
    const Case cases[] = {
        {"empty view", {}, false, {}},
        {"one line", {"1,a"}, false, {{0, 0}}},
        {"one group", {"1,a", "2,b", "3,c"}, false, {{0, 2}}},
        {"many groups", {"1,a", "2,b", sep, "1,c", sep, "1,d", "2,e"}, false, {{0, 1}, {3, 3}, {5, 6}}},
        {"lines like a separator", {"1,a", std::string(112, '-'), "--"}, false, {{0, 2}}},
        {"after Clear", {"1,a", sep, "1,b"}, true, {}},
    };
    for (const Case& c : cases) {
        MemoLines memo;
        for (const std::string& line : c.lines) memo.Append(line);
        if (c.clearAfter) memo.Clear();
        std::vector<std::pair<std::size_t, std::size_t>> groups;
        for (std::size_t first = memo.GroupFirstFrom(0); first < memo.Count();
             first = memo.GroupFirstFrom(memo.GroupLast(first) + 1))
            groups.emplace_back(first, memo.GroupLast(first));
        EXPECT_EQ(groups, c.groups) << c.name;
        EXPECT_EQ(memo.GroupCount(), c.groups.size()) << c.name;
    }
}
