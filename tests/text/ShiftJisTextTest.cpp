#include <gtest/gtest.h>

#include <random>
#include <string>

#include "ShiftJisText.h"

using namespace mosaiko;
using namespace std::string_literals;

namespace {

std::string Escaped(std::string_view text) {
    std::string out;
    AppendEscaped(out, text);
    return out;
}

}  // namespace

TEST(ShiftJisText, SecondBytesFollowAnOddRunOfLeadBytes) {
    EXPECT_FALSE(IsSecondByte("\x81", 0));
    EXPECT_TRUE(IsSecondByte("\x81~", 1));
    EXPECT_FALSE(IsSecondByte("\x81\x81~", 2));      // an even run: the pair ended
    EXPECT_TRUE(IsSecondByte("\x81\x81\x81~", 3));
    EXPECT_FALSE(IsSecondByte("\x81\0"s, 1));        // a NUL never belongs to a pair
    EXPECT_FALSE(IsSecondByte("a~", 1));
    EXPECT_FALSE(IsSecondByte("a", 5));               // past the end
    EXPECT_TRUE(IsSecondByte("\xFC\x40", 1));         // the last lead byte
    EXPECT_FALSE(IsSecondByte("\xA0\x40", 1));        // half-width katakana is single
}

TEST(ShiftJisText, FindSingleByteSkipsSecondBytes) {
    EXPECT_EQ(FindSingleByte('~', "ab~", 1), 3);
    EXPECT_EQ(FindSingleByte('~', "\x81~x~", 1), 4);
    EXPECT_EQ(FindSingleByte('~', "\x81\x81~", 1), 3);  // an even run of lead bytes
    EXPECT_EQ(FindSingleByte('~', "~~", 2), 2);
    EXPECT_EQ(FindSingleByte('~', "abc", 1), 0);
}

TEST(ShiftJisText, UnescapedReadsEscapesLikeTheControl) {
    EXPECT_EQ(Unescaped("a~~b~09~~0D0A~"), "a~b\t\r\n");
    EXPECT_EQ(Unescaped("\x81~x"), "\x81~x");
    EXPECT_EQ(Unescaped("~0d0a~"), "\r\n");
    EXPECT_EQ(Unescaped("a~b"), std::nullopt);
    EXPECT_EQ(Unescaped("~0~"), std::nullopt);
    EXPECT_EQ(Unescaped("~zz~"), std::nullopt);
}

TEST(ShiftJisText, ControlBytesAreReported) {
    std::string out;
    bool control = false;
    ASSERT_TRUE(AppendUnescaped(out, "~090D0A~", control));
    EXPECT_FALSE(control);
    ASSERT_TRUE(AppendUnescaped(out, "~00~", control));
    EXPECT_TRUE(control);
    EXPECT_EQ(out, "\t\r\n\0"s);
}

TEST(ShiftJisText, EscapingKeepsPairsAndEndsDanglingLeads) {
    EXPECT_EQ(Escaped("a~b\tc"), "a~~b~09~c");
    EXPECT_EQ(Escaped("\x81~"), "\x81~");       // the tilde is a second byte
    EXPECT_EQ(Escaped("x\x81"), "x~81~");       // a lead byte at the end
    EXPECT_EQ(Escaped("\x81\0"s), "\x81\0"s);   // a lead before NUL stays single
}

// Any bytes, escaped and read back, are the same bytes again, also when a
// line end escape follows (as group assembly appends one to every line).
TEST(ShiftJisText, EscapingRoundTripsAnyBytes) {
    std::mt19937 rng(7);
    const std::string alphabet = "~\t\x81\x9F\xE0\xFC\x40\x7E\xA0" "a0\0"s;
    for (int n = 0; n < 20000; ++n) {
        std::string text(rng() % 12, '\0');
        for (char& c : text)
            c = rng() % 2 ? alphabet[rng() % alphabet.size()] : static_cast<char>(rng() % 256);
        const std::string code = Escaped(text) + "~0D0A~";
        ASSERT_EQ(Unescaped(code), text + "\r\n") << testing::PrintToString(text);
    }
}
