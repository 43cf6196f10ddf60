#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DataLine.h"

using namespace mosaiko;
using namespace std::string_literals;

namespace {

// Number of a data line, -1 for a skipped line, -2 for unusable data.
std::int64_t Classify(std::string_view line) {
    const LineClass cls = ClassifyLine(line);
    if (cls.kind == LineKind::Skip) return -1;
    if (cls.kind == LineKind::Unusable) return -2;
    return cls.number;
}

}  // namespace

TEST(FirstField, PlainAndQuoted) {
    EXPECT_EQ(FirstField("12,Tokyo"), "12");
    EXPECT_EQ(FirstField("  \t12,x"), "12");
    EXPECT_EQ(FirstField("12 text"), "12");
    EXPECT_EQ(FirstField("12\ttext"), "12");
    EXPECT_EQ(FirstField(",x"), "");
    EXPECT_EQ(FirstField("\"12\",x"), "12");
    EXPECT_EQ(FirstField("\"a \"\"b\"\", c\",x"), "a \"b\", c");
    EXPECT_EQ(FirstField("\"\",x"), "");
    EXPECT_EQ(FirstField(" \"a,b"), "a,b");  // no closing quote: to the end of the line
    EXPECT_EQ(FirstField("\"a\"\""), "a\"");
}

TEST(FirstField, NoFieldAtAll) {
    EXPECT_EQ(FirstField(""), std::nullopt);
    EXPECT_EQ(FirstField("   "), std::nullopt);
    EXPECT_EQ(FirstField(" \t\x01\x1f "), std::nullopt);
    // Byte 0 is not skipped, it ends an empty field.
    EXPECT_EQ(FirstField("\0\0"s), "");
    EXPECT_EQ(FirstField("12\0" "34"s), "12");
}

TEST(ClassifyLine, DataLines) {
    EXPECT_EQ(Classify("1,Tokyo"), 1);
    EXPECT_EQ(Classify("12"), 12);
    EXPECT_EQ(Classify("12 and text"), 12);
    EXPECT_EQ(Classify("12\tand text"), 12);
    EXPECT_EQ(Classify("  5,x"), 5);
    EXPECT_EQ(Classify("\"12\",text"), 12);
    EXPECT_EQ(Classify("007,x"), 7);
    EXPECT_EQ(Classify("0"), 0);
    EXPECT_EQ(Classify("2147483647,max"), 2147483647);
    EXPECT_EQ(Classify("0000000000002147483647"), 2147483647);
}

TEST(ClassifyLine, SkippedLines) {
    for (const std::string& line : std::vector<std::string>{"", "No,Text", ",x", "-1,y", "+1,y", "1.5,x", "1a,x", "\"\",x", "\"1\"\"\",x",
                                   "\x82\x4f\x82\x50,full-width 01", "\0\0\0"s, "\0" "12"s, "12a345678901,x"}) {
        EXPECT_EQ(Classify(line), -1) << line;
    }
}

TEST(ClassifyLine, UnusableData) {
    EXPECT_EQ(Classify("12345678901,eleven digits"), -2);
    EXPECT_EQ(Classify("2147483648"), -2);
    EXPECT_EQ(Classify("\"99999999999\""), -2);
    EXPECT_EQ(Classify(" "), -2);
    EXPECT_EQ(Classify("\t \x1a\x01"), -2);
    EXPECT_EQ(Classify(std::string(100000, '9')), -2);
}
