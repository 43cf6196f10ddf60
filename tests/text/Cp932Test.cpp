// The CP932 converter: what each direction does with what it cannot convert.
#include <gtest/gtest.h>

#include <string>

#include "Cp932.h"

namespace mosaiko {
namespace {

const std::string kKanjiUtf8 = "\xE6\xBC\xA2\xE5\xAD\x97";  // 漢字
const std::string kKanjiSjis = "\x8A\xBF\x8E\x9A";
const std::string kEmoji = "\xF0\x9F\x98\x80";  // U+1F600, no CP932 form
const std::string kReplacement = "\xEF\xBF\xBD";

TEST(Cp932, LossyConversionsMarkEachUnitThatFails) {
    struct Case {
        std::string from, to;
        bool toUtf8;
    } cases[] = {
        {kKanjiSjis + "\xB1", kKanjiUtf8 + "\xEF\xBD\xB1", true},  // half-width kana
        {"A\xFF" "B", "A" + kReplacement + "B", true},
        {"A\x82", "A" + kReplacement, true},  // lead byte cut off at the end
        {kKanjiUtf8 + "\xEF\xBD\xB1", kKanjiSjis + "\xB1", false},
        {"A" + kEmoji + "B", "A?B", false},  // one mark for the whole character
        {"A\xFF" "B", "A?B", false},
        {"", "", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.toUtf8 ? Cp932ToUtf8(c.from) : Utf8ToCp932(c.from), c.to) << c.from;
    }
}

TEST(Cp932, StrictEncoderStopsAtTheFirstFailure) {
    struct Case {
        std::string utf8;
        std::size_t stop;
    } cases[] = {
        {"A" + kKanjiUtf8, std::string::npos},
        {"AB" + kEmoji + "C", 2},
        {"A\xFF", 1},
        {"A\xE6\xBC", 1},  // a sequence cut off at the end
    };
    Cp932StrictEncoder encoder;
    for (const Case& c : cases) {
        std::string out = "stale";
        EXPECT_EQ(encoder.Convert(c.utf8, out), c.stop) << c.utf8;
        if (c.stop == std::string::npos) {
            EXPECT_EQ(out, "A" + kKanjiSjis);
        }
    }
}

}  // namespace
}  // namespace mosaiko
