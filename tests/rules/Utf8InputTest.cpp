// UTF-8 input: which files are recognised, and how they are converted.
#include <gtest/gtest.h>

#include "Import.h"
#include "Utf8Input.h"

namespace mosaiko {
namespace {

const std::string kBom = "\xEF\xBB\xBF";
const std::string kKanjiUtf8 = "\xE6\xBC\xA2\xE5\xAD\x97";  // 漢字
const std::string kKanjiSjis = "\x8A\xBF\x8E\x9A";

std::vector<std::string> Contents(const MemoLines& memo) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < memo.Count(); ++i) lines.emplace_back(memo.Line(i));
    return lines;
}

TEST(Utf8Input, RecognisesOnlyWhatCannotBeShiftJis) {
    struct Case {
        std::string bytes;
        TextEncoding expected;
    } cases[] = {
        {kBom + "1,A\r\n", TextEncoding::Utf8},                 // the mark decides, even for ASCII
        {"1," + kKanjiUtf8 + "\r\n", TextEncoding::Utf8},       // not valid CP932
        {"1,plain ascii\r\n", TextEncoding::ShiftJis},          // valid in both, no byte above 127
        {"1,\xE6\x97\xA5\r\n", TextEncoding::ShiftJis},         // valid in both: a Kanji and a half-width kana
        {"1," + kKanjiSjis + "\r\n", TextEncoding::ShiftJis},   // not UTF-8
        {"1,\xE6\xBC\r\n", TextEncoding::ShiftJis},             // cut-off UTF-8 sequence
        {"1,\xED\xA0\x80\r\n", TextEncoding::ShiftJis},         // a surrogate is not UTF-8
        {"1,A\x1A" + kKanjiUtf8, TextEncoding::ShiftJis},       // nothing after Ctrl-Z counts
        {"", TextEncoding::ShiftJis},
        {"\xFF\xFE" "1\0", TextEncoding::Utf16Le},              // Excel's Unicode text
        {"\xFE\xFF\0" "1", TextEncoding::Utf16Be},
        {"\xFF", TextEncoding::ShiftJis},                        // half a mark
        {"\xFE" "1", TextEncoding::ShiftJis},
        // UTF-8 up to a sequence cut off by the end of the file (2, 3, 4 bytes)
        {"1," + kKanjiUtf8 + "\r\n2,\xC3", TextEncoding::ShiftJis},
        {"1," + kKanjiUtf8 + "\r\n2,\xE6\xBC", TextEncoding::ShiftJis},
        {"1," + kKanjiUtf8 + "\r\n2,\xF0\x9F\x98", TextEncoding::ShiftJis},
        {"1," + kKanjiUtf8 + "\r\n2,\xF0\x9F\x98\x80", TextEncoding::Utf8},  // the same, whole
    };
    for (const Case& c : cases) {
        for (std::size_t chunk : {std::size_t{1}, std::size_t{2}, std::size_t{4096}}) {
            EXPECT_EQ(SniffEncoding(ReadFromMemory(c.bytes), chunk), c.expected) << c.bytes << " chunk " << chunk;
        }
    }
}

// A stream's guess stops at its limit and takes what it read as the file.
TEST(Utf8Input, TheGuessStopsAtItsLimit) {
    const std::string file = "1,a\r\n2," + kKanjiUtf8 + "\r\n";
    EXPECT_EQ(SniffEncoding(ReadFromMemory(file), 2, 5), TextEncoding::ShiftJis);
    EXPECT_EQ(SniffEncoding(ReadFromMemory(file), 2, file.size()), TextEncoding::Utf8);
}

TEST(Utf8Input, ConvertsLinesAndDropsTheMark) {
    for (std::size_t chunk : {std::size_t{1}, std::size_t{3}, std::size_t{4096}}) {
        MemoLines memo;
        const ImportResult r = ImportBytes(kBom + "1," + kKanjiUtf8 + "\r\n2,B\r\n", memo, chunk);
        EXPECT_EQ(r.outcome, ImportOutcome::Done);
        EXPECT_EQ(r.encoding, TextEncoding::Utf8);
        // The first record stays: its first field is "1", not the mark and "1".
        EXPECT_EQ(Contents(memo), (std::vector<std::string>{"1," + kKanjiSjis, "2,B"}));
    }
}

TEST(Utf8Input, Utf16IsReadInPiecesOfAnySize) {
    const std::string le("\xFF\xFE" "1\0\t\0\x22\x6F\x57\x5B\r\0\n\0" "2\0\t\0B\0", 20);
    for (std::size_t chunk : {std::size_t{1}, std::size_t{3}, std::size_t{4096}}) {
        MemoLines memo;
        const ImportResult r = ImportBytes(le, memo, chunk);
        EXPECT_EQ(r.outcome, ImportOutcome::Done);
        EXPECT_EQ(r.encoding, TextEncoding::Utf16Le);
        EXPECT_EQ(Contents(memo), (std::vector<std::string>{"1\t" + kKanjiSjis, "2\tB"}));
    }
}

TEST(Utf8Input, ShiftJisValidAsUtf8StaysAsItIs) {
    MemoLines memo;
    const ImportResult r = ImportBytes("1,\xE6\x97\xA5\r\n", memo);
    EXPECT_EQ(r.encoding, TextEncoding::ShiftJis);
    EXPECT_EQ(Contents(memo), (std::vector<std::string>{"1,\xE6\x97\xA5"}));
}

TEST(Utf8Input, CharacterWithoutShiftJisFormFails) {
    MemoLines memo;
    // The mark makes it UTF-8: these four bytes alone would also pass as CP932.
    const ImportResult r = ImportBytes(kBom + "1,A\r\n1,\xF0\x9F\x98\x80\r\n", memo);
    EXPECT_EQ(r.outcome, ImportOutcome::UnusableData);
    EXPECT_EQ(r.detail, "2 行目: 文字「\xF0\x9F\x98\x80」(U+1F600) は Shift-JIS で表せません");
    EXPECT_EQ(memo.Count(), 0u);
}

TEST(Utf8Input, ForcedEncodings) {
    MemoLines memo;
    EXPECT_EQ(ImportBytes("1," + kKanjiUtf8, memo, 4096, EncodingChoice::ShiftJis).encoding, TextEncoding::ShiftJis);
    EXPECT_EQ(Contents(memo), (std::vector<std::string>{"1," + kKanjiUtf8}));
    const ImportResult bad = ImportBytes("1," + kKanjiSjis, memo, 4096, EncodingChoice::Utf8);
    EXPECT_EQ(bad.outcome, ImportOutcome::UnusableData);
    EXPECT_EQ(bad.detail, "1 行目: UTF-8 として正しくないバイト列があります");
}

TEST(ImportDetail, NamesLineAndReason) {
    MemoLines memo;
    EXPECT_EQ(ImportBytes("1,A\r\n\r\n98765432101,x\r\n", memo).detail, "3 行目: 先頭の数値 98765432101 が大きすぎます");
    EXPECT_EQ(ImportBytes("1,A\r\n \t\r\n", memo).detail, "2 行目: 空白と制御文字だけの行です");
    EXPECT_EQ(ImportBytes(std::string(40, '9'), memo).detail,
              "1 行目: 先頭の数値 " + std::string(30, '9') + "… が大きすぎます");
    EXPECT_EQ(ImportBytes("1,A\r\n", memo).detail, "");
}

}  // namespace
}  // namespace mosaiko
