#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Grouping.h"
#include "Import.h"
#include "ImportMessages.h"

using namespace mosaiko;
using namespace std::string_literals;

namespace {

using Lines = std::vector<std::string>;
const std::string kSep(kSeparatorLine);

Lines Contents(const MemoLines& memo) {
    Lines lines;
    for (std::size_t i = 0; i < memo.Count(); ++i) lines.emplace_back(memo.Line(i));
    return lines;
}

struct Imported {
    ImportResult result;
    Lines lines;
};

Imported Import(std::string_view bytes, std::size_t chunk = LineReader::kDefaultChunk) {
    MemoLines memo;
    memo.Append("left from before");
    Imported out;
    out.result = ImportBytes(bytes, memo, chunk);
    out.lines = Contents(memo);
    return out;
}

}  // namespace

TEST(Import, GroupsAndCounts) {
    struct Case {
        std::string file;
        Lines view;
        std::int64_t lineCount;
        std::int64_t groupCount;
    };
    const std::vector<Case> cases{
        {"1,A\r\n2,B\r\n1,C\r\n3,D\r\n1,E\r\n", {"1,A", "2,B", kSep, "1,C", "3,D", kSep, "1,E"}, 5, 3},
        {"1,A\r\n1,B\r\n", {"1,A", kSep, "1,B"}, 2, 2},
        {"No,Text\r\n1,A\r\n,x\r\n-1,y\r\n2,B\r\n", {"1,A", "2,B"}, 2, 1},
        {"5,A\r\n1.5,x\r\n3,B\r\n", {"5,A", kSep, "3,B"}, 2, 2},
        {"", {}, 0, 0},
        {"No,Text\r\nA,B\r\n", {}, 0, 0},
        {"3\r7\r9\r2\r2\r5\r", {"3", "7", "9", kSep, "2", kSep, "2", "5"}, 6, 3},
        // Skipped lines take no part in the comparison.
        {"5,a\r\n\x82\x54,full-width\r\n-9,x\r\n6,b\r\n", {"5,a", "6,b"}, 2, 1},
        {"  5,x\r\n\"12\",q\r\n12 t\r\n", {"  5,x", "\"12\",q", kSep, "12 t"}, 3, 2},
        {"1,a\r\n\r\n2,b\r\n", {"1,a", "2,b"}, 2, 1},
    };
    for (const Case& c : cases) {
        const Imported got = Import(c.file);
        EXPECT_EQ(got.result.outcome, ImportOutcome::Done) << c.file;
        EXPECT_EQ(got.lines, c.view) << c.file;
        EXPECT_EQ(got.result.lineCount, c.lineCount) << c.file;
        EXPECT_EQ(got.result.groupCount, c.groupCount) << c.file;
    }
}

TEST(Import, LineFeedOnlyFilesAreSplitIntoLines) {
    const Imported got = Import("1,A\n2,B\n1,C\n");
    EXPECT_EQ(got.lines, (Lines{"1,A", "2,B", kSep, "1,C"}));
    EXPECT_EQ(got.result.groupCount, 2);
}

TEST(Import, ChunkSizeDoesNotChangeTheResult) {
    const std::string file = "1,a\r\n2,b\n\r3,c\r1,d\r\n\r\n4,\x81\x7e\n\"2\",e\r\n7\x1a" "1,ignored\r\n"s;
    const Imported whole = Import(file);
    EXPECT_EQ(whole.lines, (Lines{"1,a", "2,b", "3,c", kSep, "1,d", "4,\x81\x7e", kSep, "\"2\",e", "7"}));
    for (std::size_t chunk = 1; chunk <= 7; ++chunk) {
        const Imported got = Import(file, chunk);
        EXPECT_EQ(got.lines, whole.lines) << "chunk size " << chunk;
        EXPECT_EQ(got.result.groupCount, 3) << "chunk size " << chunk;
    }
}

TEST(Import, UnusableDataEndsTheImportWithAnEmptyView) {
    for (const std::string& file : std::vector<std::string>{"1,a\r\n2,b\r\n12345678901,c\r\n3,d\r\n", "1,a\r\n2,b\r\n   \r\n3,d\r\n",
                                   "1,a\r\n2,b\r\n\t\r\n3,d\r\n"}) {
        const Imported got = Import(file);
        EXPECT_EQ(got.result.outcome, ImportOutcome::UnusableData) << file;
        EXPECT_TRUE(got.lines.empty()) << file;
        EXPECT_EQ(got.result.lineCount, 2) << file;  // accepted before the failure
        EXPECT_EQ(ImportMessage(got.result.outcome), kUnusableDataMessage);
    }
}

TEST(Import, ReadErrorEmptiesTheView) {
    int calls = 0;
    LineReader reader(
        [&calls](char* buffer, std::size_t) -> std::ptrdiff_t {
            if (++calls > 1) return -1;
            std::memcpy(buffer, "1,a\r\n2,b\r\n3,", 12);
            return 12;
        },
        12);
    MemoLines memo;
    const ImportResult result = ImportLines(reader, memo);
    EXPECT_EQ(result.outcome, ImportOutcome::ReadError);
    EXPECT_EQ(memo.Count(), 0u);
    EXPECT_EQ(result.lineCount, 2);
    EXPECT_EQ(ImportMessage(result.outcome), kReadErrorMessage);
}

TEST(Import, CancelKeepsTheLinesReadSoFar) {
    const std::string file = "1,a\r\n2,b\r\n1,c\r\n2,d\r\n";
    MemoLines memo;
    int asked = 0;
    LineReader reader(ReadFromMemory(file));
    const ImportResult result = ImportLines(reader, memo, [&asked] { return ++asked <= 3; });
    EXPECT_EQ(result.outcome, ImportOutcome::Cancelled);
    EXPECT_EQ(Contents(memo), (Lines{"1,a", "2,b", kSep, "1,c"}));
    EXPECT_EQ(result.lineCount, 3);
    EXPECT_EQ(result.groupCount, 2);
    EXPECT_TRUE(ImportMessage(result.outcome).empty());
}

TEST(Import, CancelBeforeTheFirstLineReadsNothing) {
    MemoLines memo;
    memo.Append("old");
    bool read = false;
    LineReader reader([&read](char*, std::size_t) -> std::ptrdiff_t {
        read = true;
        return 0;
    });
    const ImportResult result = ImportLines(reader, memo, [] { return false; });
    EXPECT_EQ(result.outcome, ImportOutcome::Cancelled);
    EXPECT_FALSE(read);
    EXPECT_EQ(memo.Count(), 0u);
    EXPECT_EQ(result.lineCount, 0);
    EXPECT_EQ(result.groupCount, 0);
}

// A UTF-8 line cut inside a character keeps the whole characters before it;
// the warning names the first cut line and counts the others.
TEST(Import, LongLinesAreCutAndNamed) {
    const std::string kanji = "\xE6\xBC\xA2\xE5\xAD\x97";  // 漢字, not CP932; the cut splits 字
    std::string file = "1,a\r\n1,";
    while (file.size() < 5 + kMaxKeptLine + 10) file += kanji;
    file += "\r\n2,b\r\n2," + std::string(kMaxKeptLine, 'c') + "\r\n";
    MemoLines memo;
    const ImportResult result = ImportBytes(file, memo);
    ASSERT_EQ(result.outcome, ImportOutcome::Done) << result.detail;
    EXPECT_EQ(result.encoding, TextEncoding::Utf8);
    EXPECT_EQ(result.firstCutLine, 2);
    EXPECT_EQ(result.cutLines, 2);
    EXPECT_EQ(CutLinesWarning(result),
              "2 行目: 行が 65536 バイトを超えるため、先頭の 65536 バイトだけを読み込みました（ほかに 1 行）");
    EXPECT_EQ(CutLinesWarning(ImportBytes("1,a\r\n", memo)), "");
}

TEST(ImportMessages, AreTheShiftJisTexts) {
    // Spot checks of the bytes: full-width parenthesis and the final full stop.
    EXPECT_EQ(kReadErrorMessage.substr(8, 2), "\x81\x69");
    EXPECT_EQ(kReadErrorMessage.substr(kReadErrorMessage.size() - 2), "\x81\x42");
    EXPECT_EQ(kUnusableDataMessage.size(), 24u);
    EXPECT_EQ(kUnusableDataMessage.substr(kUnusableDataMessage.size() - 2), "\x81\x42");
}
