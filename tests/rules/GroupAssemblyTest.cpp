#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GroupAssembly.h"
#include "Grouping.h"
#include "Import.h"
#include "ShiftJisText.h"

using namespace mosaiko;
using namespace std::string_literals;

namespace {

MemoLines Memo(const std::vector<std::string>& lines) {
    MemoLines memo;
    for (const std::string& line : lines) memo.Append(line);
    return memo;
}

GroupTexts One(const std::string& line) {
    const MemoLines memo = Memo({line});
    return AssembleGroup(memo, 0, 0);
}

const std::string kSep(kSeparatorLine);

}  // namespace

TEST(LineText, AfterTheFirstComma) {
    EXPECT_EQ(LineText("1,Tokyo,Japan"), "Tokyo,Japan");
    EXPECT_EQ(LineText("12"), "12");
    EXPECT_EQ(LineText("12 no comma"), "12 no comma");
    EXPECT_EQ(LineText("3,"), "");
    EXPECT_EQ(LineText(std::string(20000, 'x')).size(), 9999u);
    const std::string longText = "1," + std::string(9998, 'a') + "bc";
    EXPECT_EQ(LineText(longText), std::string(9998, 'a') + "b");
}

TEST(AssembleGroup, EscapesTildesAndTabs) {
    const GroupTexts g = One("1,a~b\tc~~");
    EXPECT_EQ(g.codeText, "a~~b~09~c~~~~~0D0A~");
    EXPECT_EQ(g.data, "a~b\tc~~\r\n");
    EXPECT_EQ(g.labelText, "a~b\tc~~\r");
    EXPECT_EQ(g.last, 0u);
}

TEST(AssembleGroup, SecondByteTildeIsNotEscaped) {
    // 0x81 0x7E is one double-byte character whose second byte is "~".
    EXPECT_EQ(One("1,\x81\x7e~").codeText, "\x81\x7e~~~0D0A~");
    // Two lead bytes make a character; the "~" after them is a tilde again.
    EXPECT_EQ(One("1,\x81\x81~").codeText, "\x81\x81~~~0D0A~");
    // After byte 0 a lead byte has no second byte.
    EXPECT_EQ(One("1,\x81\0~"s).codeText, "\x81\0~~~0D0A~"s);
    EXPECT_EQ(One("1,\xe0\x7e\xfc\x7e").codeText, "\xe0\x7e\xfc\x7e~0D0A~");
    EXPECT_EQ(One("1,\xa0~").codeText, "\xa0~~~0D0A~");  // 0xA0 is a single byte
}

TEST(AssembleGroup, MalformedDoubleByteTextStillReadsBack) {
    // A dangling lead byte would turn the following "~" into its second byte.
    EXPECT_EQ(One("1,ab\x81").codeText, "ab~81~~0D0A~");
    // A tab that is a second byte stays raw for the same reason.
    EXPECT_EQ(One("1,\x81\t").codeText, "\x81\t~0D0A~");
    for (const std::string& line : std::vector<std::string>{"1,ab\x81"s, "1,\x81\t~"s, "1,\xfc\xfc\xfc"s, "1,~\x81"s}) {
        const GroupTexts g = One(line);
        EXPECT_EQ(Unescaped(g.codeText), std::string(LineText(line)) + "\r\n") << line;
        EXPECT_EQ(Unescaped(g.codeText), g.data) << line;  // the data is what the code text spells
    }
}

TEST(AssembleGroup, LinesWithoutCommaOrWithNothingAfterIt) {
    const MemoLines memo = Memo({"12", "13,", "14,x"});
    const GroupTexts g = AssembleGroup(memo, 0, 2);
    EXPECT_EQ(g.last, 2u);
    EXPECT_EQ(g.codeText, "12~0D0A~~0D0A~x~0D0A~");
    EXPECT_EQ(g.labelText, "12\r\rx\r");
    EXPECT_EQ(g.data, "12\r\n\r\nx\r\n");
}

TEST(AssembleGroup, CutsLineTextsAt9999Bytes) {
    const std::string text(12000, 'q');
    const GroupTexts g = One("1," + text);
    EXPECT_EQ(g.labelText, text.substr(0, 9999) + "\r");
    EXPECT_EQ(g.codeText, text.substr(0, 9999) + "~0D0A~");
    // A cut through a double-byte character leaves its lead byte dangling.
    const std::string kanji = "1,a" + std::string(9998, '\x88');
    const GroupTexts k = One(kanji);
    EXPECT_EQ(Unescaped(k.codeText), "a" + std::string(9998, '\x88') + "\r\n");
}

TEST(AssembleGroup, StopsAtTheSeparatorOrTheBound) {
    const MemoLines memo = Memo({"1,a", "2,b", kSep, "1,c", "5,d", "6,e"});
    GroupTexts g = AssembleGroup(memo, 0, 5);
    EXPECT_EQ(g.last, 1u);
    EXPECT_EQ(g.labelText, "a\rb\r");
    g = AssembleGroup(memo, 3, 5);
    EXPECT_EQ(g.last, 5u);
    EXPECT_EQ(g.codeText, "c~0D0A~d~0D0A~e~0D0A~");
    g = AssembleGroup(memo, 3, 4);
    EXPECT_EQ(g.last, 4u);
    EXPECT_EQ(g.labelText, "c\rd\r");
}

TEST(GroupCursor, WalksTheGroupsOfAnImport) {
    MemoLines memo;
    ImportBytes("1,A\r\n2,B\r\n1,C\r\n3,D\r\n1,E\r\n", memo);
    GroupCursor cursor(memo);
    std::vector<std::string> labels;
    while (!cursor.AtEnd()) labels.push_back(cursor.Next().labelText);
    EXPECT_EQ(labels, (std::vector<std::string>{"A\rB\r", "C\rD\r", "E\r"}));
    cursor.Reset();
    EXPECT_EQ(cursor.Next().last, 1u);
}

TEST(GroupCursor, EmptyViewHasNoGroup) {
    const MemoLines memo;
    EXPECT_TRUE(GroupCursor(memo).AtEnd());
    EXPECT_EQ(AssembleGroup(memo, 0, 0).codeText, "");
}

TEST(CountGroups, CountsWhatTheCursorWalks) {
    const std::vector<std::vector<std::string>> views = {
        {},
        {"1,a"},
        {"1,a", "2,b", kSep, "1,c", kSep, "1,d"},
        {kSep, "1,a"},           // a leading separator belongs to no group
        {"1,a", kSep},           // a trailing separator starts no group
        {"1,a", kSep, kSep, "1,b"},
    };
    for (const auto& lines : views) {
        const MemoLines memo = Memo(lines);
        GroupCursor cursor(memo);
        std::size_t walked = 0;
        for (; !cursor.AtEnd(); ++walked) cursor.Next();
        EXPECT_EQ(CountGroups(memo), walked) << lines.size() << " lines";
    }
}
