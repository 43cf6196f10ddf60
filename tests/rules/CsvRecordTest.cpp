#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CsvRecord.h"
#include "GroupAssembly.h"
#include "Import.h"

using namespace mosaiko;

namespace {

using Texts = std::vector<std::string>;

// "りんご" and "青森産" in Shift-JIS.
const std::string kApple = "\x82\xe8\x82\xf1\x82\xb2";
const std::string kAomori = "\x90\xc2\x90\x58\x8e\x59";

std::string Utf16Le(const std::string& ascii) {
    std::string out = "\xFF\xFE";
    for (const char c : ascii) out += std::string{c, '\0'};
    return out;
}

struct CsvImport {
    ImportResult result;
    Texts view;
    Texts data;   // each group's data
    Texts label;  // each group's label text
};

CsvImport ImportCsv(const std::string& file, std::size_t chunk) {
    MemoLines memo;
    CsvImport out;
    out.result = ImportBytes(file, memo, chunk, EncodingChoice::Auto, true);
    for (std::size_t i = 0; i < memo.Count(); ++i) out.view.emplace_back(memo.Line(i));
    for (GroupCursor cursor(memo); !cursor.AtEnd();) {
        const GroupTexts g = cursor.Next();
        out.data.push_back(g.data);
        out.label.push_back(g.labelText);
    }
    return out;
}

}  // namespace

TEST(CsvFields, QuotedCommasDoubledQuotesAndLineBreaks) {
    const std::vector<std::pair<std::string, Texts>> cases{
        {"a,\"b,c\",", {"a", "b,c", ""}},
        {"\"x\"\"y\"", {"x\"y"}},
        {"1,\"a\nb\",c", {"1", "a\nb", "c"}},
        {"1,x\"y\"", {"1", "x\"y\""}},  // a quote inside an unquoted field is a byte of it
        {"1,\"open", {"1", "open"}},
        {"", {""}},
    };
    for (const auto& [record, fields] : cases) EXPECT_EQ(CsvFields(record), fields) << record;
    EXPECT_TRUE(CsvEndsInQuotes("1,\"a", false));
    EXPECT_FALSE(CsvEndsInQuotes("b\",c", true));
    EXPECT_TRUE(CsvEndsInQuotes("b\"\",c", true));
}

TEST(CsvImport, RecordsAndTheirGroupTexts) {
    struct Case {
        std::string file;
        Texts view;
        Texts data;
    };
    const std::string sep(kSeparatorLine);
    const std::vector<Case> cases{
        {"1,\"" + kApple + ", " + kAomori + "\"\r\n", {"1,\"" + kApple + ", " + kAomori + "\""},
         {kApple + ", " + kAomori + "\r\n"}},
        {"1,\"AB\r\nCD\",03-1234\r\n2,x\r\n", {"1,\"AB\nCD\",03-1234", "2,x"}, {"AB\r\nCD,03-1234\r\nx\r\n"}},
        {"1,\"say \"\"hi\"\"\",b\n1,,a,,\n", {"1,\"say \"\"hi\"\"\",b", sep, "1,,a,,"}, {"say \"hi\",b\r\n", ",a,,\r\n"}},
        {"No,\"Name\nX\"\n\"2\",y\r3\r", {"\"2\",y", "3"}, {"y\r\n\r\n"}},
        {"1,\"a\r\n\r\nb\"\r\n", {"1,\"a\n\nb\""}, {"a\r\n\r\nb\r\n"}},
        {"1,\"abc\n2,x", {"1,\"abc\n2,x"}, {"abc\r\n2,x\r\n"}},  // open at the end: taken as it stands
        {"\xEF\xBB\xBF" "1,\"\xE6\x97\xA5,\n\xE6\x97\xA5\"\r\n", {"1,\"\x93\xfa,\n\x93\xfa\""}, {"\x93\xfa,\r\n\x93\xfa\r\n"}},
        {Utf16Le("1,\"a\r\nb\",c\r\n"), {"1,\"a\nb\",c"}, {"a\r\nb,c\r\n"}},
    };
    for (const std::size_t chunk : {std::size_t{1}, LineReader::kDefaultChunk}) {
        for (const Case& c : cases) {
            const CsvImport got = ImportCsv(c.file, chunk);
            EXPECT_EQ(got.result.outcome, ImportOutcome::Done) << c.file;
            EXPECT_EQ(got.view, c.view) << c.file;
            EXPECT_EQ(got.data, c.data) << c.file;
            for (std::size_t i = 0; i < got.label.size(); ++i) {
                std::string label = c.data[i];
                for (std::size_t at = label.find('\n'); at != std::string::npos; at = label.find('\n')) label.erase(at, 1);
                EXPECT_EQ(got.label[i], label) << c.file;
            }
        }
    }
}

TEST(CsvImport, UnusableRecordNamesItsLine) {
    MemoLines memo;
    const ImportResult r = ImportBytes("1,a\r\n98765432101,\"x\r\ny\"\r\n", memo, 4096, EncodingChoice::Auto, true);
    EXPECT_EQ(r.outcome, ImportOutcome::UnusableData);
    EXPECT_EQ(r.detail, "3 行目: 先頭の数値 98765432101 が大きすぎます");
    EXPECT_TRUE(memo.Empty());
}

TEST(LeftOutLinesWarning, NamesTheKeptLineAndTheLinesLeftOut) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"1,\"AB\r\nCD\",03\r\n2,b\r\n",
         "1 行目: 引用符の中の改行に続く 2 行目を読み込みませんでした（CSV読込で読めます）"},
        {"1,\"a\r\n\r\nb\"\r\n2,x\r\n3,\"c\nd\"\r\n",
         "1 行目: 引用符の中の改行に続く 2～3 行目を読み込みませんでした（CSV読込で読めます）（ほかに 1 行）"},
        {"1,\"a, b\"\r\n2,x\"y\r\nz\"\r\n", ""},
        {"No,\"a\r\nb\"\r\n1,c\r\n", ""},
    };
    for (const auto& [file, warning] : cases) {
        MemoLines memo;
        const ImportResult r = ImportBytes(file, memo);
        EXPECT_EQ(LeftOutLinesWarning(r), warning) << file;
        EXPECT_EQ(memo.Csv(), false);
    }
}
