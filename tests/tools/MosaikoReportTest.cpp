// mosaiko-report as a user runs it: the sample file to a PDF, a failing
// check, bad files and bad options.
#include <gtest/gtest.h>

#include <filesystem>

#include "QrDecode.h"
#include "RunTool.h"

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace mosaiko::test {
namespace {

const std::string kTool = MOSAIKO_REPORT_BIN;
const std::string kSample = MOSAIKO_SAMPLE_CSV;

class MosaikoReport : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() / ("mosaiko-report-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Path(const char* name) const { return (dir_ / name).string(); }

    std::filesystem::path dir_;
};

TEST_F(MosaikoReport, SampleFileBecomesAReport) {
    const auto r = RunTool(kTool, {kSample, "-o", Path("sample.pdf"), "--title", "Sample list"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("groups: 4"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("result: 正常"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("capacity: 858"), std::string::npos) << r.out;
    const std::string pdf = ReadFile(Path("sample.pdf"));
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
    // The most readable setting, as the window offers it.
    EXPECT_NE(r.err.find("mosaiko-report: 印刷時のモジュール: 0.125 mm（0.250 mm 未満のため読み取れないおそれがあります）。"
                         "おすすめ: バージョン 6・4倍角サイズ・頁内 8 グループでモジュール 0.500 mm"),
              std::string::npos)
        << r.err;
}

TEST_F(MosaikoReport, FailingGroupsWriteNoPdf) {
    WriteFile(Path("long.csv"), "1,short\r\n1," + std::string(40, 'q') + "\r\n1,ok\r\n");
    const auto r = RunTool(kTool, {Path("long.csv"), "-o", Path("long.pdf"), "--version", "1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("result: 異常"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("failed groups: 2\n"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("mosaiko-report: " + Path("long.csv") + ": 異常: 3 グループ中 1 グループが QR コードになりません: "
                         "グループ 2（データ 42 バイトがバージョン 1 の容量 17 バイトを 25 バイト超えている）\n"),
              std::string::npos)
        << r.err;
    EXPECT_FALSE(std::filesystem::exists(Path("long.pdf")));
}

TEST_F(MosaikoReport, OverflowingRowsAreNamedAndTheReportIsStillWritten) {
    std::string file;
    for (int group = 1; group <= 5; ++group)
        for (int line = 1; line <= (group % 2 == 0 ? 7 : 1); ++line) file += std::to_string(line) + ",x\r\n";
    WriteFile(Path("rows.csv"), file);
    const auto r = RunTool(kTool, {Path("rows.csv"), "-o", Path("rows.pdf"), "--per-page", "20"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("result: 正常"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("注意: 2 グループの文字が行に収まらず、途中までしか印刷されません: グループ 2（"), std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("、グループ 4（"), std::string::npos) << r.err;
    EXPECT_TRUE(std::filesystem::exists(Path("rows.pdf")));
    const auto roomy = RunTool(kTool, {Path("rows.csv"), "-o", Path("rows.pdf")});
    EXPECT_EQ(roomy.err.find("注意"), std::string::npos) << roomy.err;
}

TEST_F(MosaikoReport, OptionsTakeTheirValueAfterASpaceOrAnEqualsSign) {
    const auto spaced = RunTool(kTool, {kSample, "-o", Path("a.pdf"), "--version", "9", "--size", "4", "--per-page",
                                        "4", "--font-size", "12", "--title", "T", "--encoding", "sjis"});
    const auto joined = RunTool(kTool, {"--version=9", "--size=4", "--per-page=4", "--font-size=12", "--title=T",
                                        "--encoding=sjis", "-o=" + Path("b.pdf"), kSample});
    ASSERT_EQ(spaced.status, 0) << spaced.err;
    ASSERT_EQ(joined.status, 0) << joined.err;
    EXPECT_EQ(spaced.out, joined.out);
    EXPECT_NE(joined.out.find("capacity: 230"), std::string::npos) << joined.out;  // version 9 took effect
    EXPECT_NE(joined.err.find("1.029 mm"), std::string::npos) << joined.err;     // 4 per page, 4 pixels per module
    const auto usage = RunTool(kTool, {kSample, "-o", Path("c.pdf"), "--size=9"});
    EXPECT_EQ(usage.status, 2);
    EXPECT_NE(usage.err.find("option --size: '9' is not from 1 to 4"), std::string::npos) << usage.err;
    const auto unknown = RunTool(kTool, {kSample, "-o", Path("c.pdf"), "--colour=red"});
    EXPECT_NE(unknown.err.find("unknown option --colour\n"), std::string::npos) << unknown.err;
    const auto missing = RunTool(kTool, {kSample, "--title"});
    EXPECT_NE(missing.err.find("option --title needs a value"), std::string::npos) << missing.err;
}

TEST_F(MosaikoReport, ImportFailuresAreReported) {
    const auto missing = RunTool(kTool, {Path("none.csv"), "-o", Path("x.pdf")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("テキスト（CSVデータ）を正しく読み取ることが出来ませんでした。"), std::string::npos);
    WriteFile(Path("blank.csv"), "1,a\r\n   \r\n");
    const auto blank = RunTool(kTool, {Path("blank.csv"), "-o", Path("x.pdf")});
    EXPECT_EQ(blank.status, 1);
    EXPECT_NE(blank.err.find("使用できないデータです。"), std::string::npos);
}

TEST_F(MosaikoReport, BadOptionsExitTwo) {
    for (const auto& args : std::vector<std::vector<std::string>>{{},
                                                                  {kSample},
                                                                  {kSample, "-o"},
                                                                  {kSample, "-o", "x.pdf", "--version", "41"},
                                                                  {kSample, "-o", "x.pdf", "--size", "5"},
                                                                  {kSample, "-o", "x.pdf", "--per-page", "0"},
                                                                  {kSample, "-o", "x.pdf", "--font-size", "61"},
                                                                  {kSample, "-o", "x.pdf", "--colour", "red"},
                                                                  {kSample, "-o", "x.pdf", "--version=0"},
                                                                  {kSample, "-o", "x.pdf", "--title"},
                                                                  {kSample, "-o", "x.pdf", "--print"},
                                                                  {kSample, "--print", "a", "b"},
                                                                  {"--list-printers", kSample},
                                                                  {kSample, "-o", ""},
                                                                  {"", "-o", "x.pdf"}}) {
        std::string command = Quote(kTool);
        for (const auto& a : args) {
            command += ' ';
            command += Quote(a);
        }
        const int raw = std::system((command + " </dev/null >/dev/null 2>&1").c_str());
        EXPECT_EQ(WEXITSTATUS(raw), 2) << command;
    }
}

}  // namespace
}  // namespace mosaiko::test

namespace mosaiko::test {
namespace {

// The data bytes of the QR codes on the first page of `pdf`, top to bottom.
std::vector<std::string> QrSymbolsOfFirstPage(const std::string& pdf) {
    const std::string stem = pdf + "-page";
    const std::string command = "pdftoppm -r 400 -gray -singlefile '" + pdf + "' '" + stem + "'";
    if (std::system(command.c_str()) != 0) return {"pdftoppm failed"};
    const std::string pgm = ReadFile(stem + ".pgm");
    int width = 0, height = 0, maxValue = 0, consumed = 0;
    if (std::sscanf(pgm.c_str(), "P5 %d %d %d%n", &width, &height, &maxValue, &consumed) != 3) return {"no PGM"};
    const auto* grey = reinterpret_cast<const uint8_t*>(pgm.data() + consumed + 1);
    std::vector<std::string> symbols;
    for (const Decoded& d : DecodeAll(grey, width, height, width)) symbols.push_back(d.bytes);
    return symbols;
}

// The top symbol: a decoder asked for one code may return any of them.
std::string QrBytesOfFirstPage(const std::string& pdf) {
    const std::vector<std::string> symbols = QrSymbolsOfFirstPage(pdf);
    return symbols.empty() ? "no symbol" : symbols.front();
}

TEST_F(MosaikoReport, Utf8AndShiftJisFilesGiveTheSameReport) {
    // 漢字 / ABC; "漢字あ" would not do: its UTF-8 bytes are also valid CP932.
    const std::string sjis = "1,\x8A\xBF\x8E\x9A\r\n1,ABC\r\n";
    const std::string utf8 = "1,\xE6\xBC\xA2\xE5\xAD\x97\r\n1,ABC\r\n";
    WriteFile(Path("sjis.csv"), sjis);
    WriteFile(Path("utf8.csv"), utf8);
    WriteFile(Path("bom.csv"), "\xEF\xBB\xBF" + utf8);
    const auto fromSjis = RunTool(kTool, {Path("sjis.csv"), "-o", Path("sjis.pdf"), "--version", "2", "--size", "4"});
    ASSERT_EQ(fromSjis.status, 0) << fromSjis.err;
    EXPECT_EQ(fromSjis.err.find("UTF-8"), std::string::npos) << fromSjis.err;
    const std::string expected = QrBytesOfFirstPage(Path("sjis.pdf"));
    EXPECT_NE(expected.find("\x8A\xBF\x8E\x9A"), std::string::npos) << testing::PrintToString(expected);
    for (const char* name : {"utf8", "bom"}) {
        const std::string csv = Path((std::string(name) + ".csv").c_str());
        const std::string pdf = Path((std::string(name) + ".pdf").c_str());
        const auto r = RunTool(kTool, {csv, "-o", pdf, "--version", "2", "--size", "4"});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.err.find("UTF-8 として読み込み、Shift-JIS に変換しました"), std::string::npos) << r.err;
        EXPECT_NE(r.out.find("lines: 2"), std::string::npos) << r.out;
        EXPECT_EQ(QrBytesOfFirstPage(pdf), expected) << name;
    }
}

TEST_F(MosaikoReport, Utf16FilesAndFilesWithoutDataLines) {
    // 1,漢字 / 1,ABC tab-separated as Excel's Unicode text export writes it.
    const std::string le("\xFF\xFE" "1\0\t\0\x22\x6F\x57\x5B\r\0\n\0" "1\0\t\0A\0B\0C\0\r\0\n\0", 28);
    std::string be = le;
    for (std::size_t i = 0; i + 1 < be.size(); i += 2) std::swap(be[i], be[i + 1]);
    const struct {
        const char* name;
        std::string bytes;
        const char* note;  // on standard error
        const char* lines;
    } cases[] = {
        {"le.txt", le, "le.txt: UTF-16 として読み込み、Shift-JIS に変換しました", "lines: 2"},
        {"be.txt", be, "be.txt: UTF-16 として読み込み、Shift-JIS に変換しました", "lines: 2"},
        {"empty.csv", "", "empty.csv: データ行がありません", "lines: 0"},
        {"garbage.csv", "abc,def\r\n\x81\x40xyz\r\n", "garbage.csv: データ行がありません", "lines: 0"},
    };
    for (const auto& c : cases) {
        WriteFile(Path(c.name), c.bytes);
        const std::string pdf = Path((std::string(c.name) + ".pdf").c_str());
        const auto r = RunTool(kTool, {Path(c.name), "-o", pdf, "--version", "2", "--size", "4"});
        ASSERT_EQ(r.status, 0) << c.name << "\n" << r.err;
        EXPECT_NE(r.err.find(c.note), std::string::npos) << r.err;
        EXPECT_NE(r.out.find(c.lines), std::string::npos) << r.out;
        EXPECT_NE(r.out.find("pages: 1"), std::string::npos) << r.out;
    }
    EXPECT_NE(QrBytesOfFirstPage(Path("le.txt.pdf")).find("\x8A\xBF\x8E\x9A"), std::string::npos);
    EXPECT_EQ(QrBytesOfFirstPage(Path("be.txt.pdf")), QrBytesOfFirstPage(Path("le.txt.pdf")));
}

// Spreadsheet files as Excel (Shift-JIS, UTF-8 with BOM) and LibreOffice
// (UTF-8, LF, every cell quoted) write them, with the cells 1 / りんご, 青森産 /
// 3, then 2 / 東京⏎本社 / 03-1234, then 1 / say "hi" / (empty) / (empty).
TEST_F(MosaikoReport, CsvReadingPutsTheCellsIntoTheSymbols) {
    const std::string appleSjis = "\x82\xe8\x82\xf1\x82\xb2, \x90\xc2\x90\x58\x8e\x59";
    const std::string appleUtf8 = "\xe3\x82\x8a\xe3\x82\x93\xe3\x81\x94, \xe9\x9d\x92\xe6\xa3\xae\xe7\x94\xa3";
    const std::string tokyoSjis = "\x93\x8c\x8b\x9e", honshaSjis = "\x96\x7b\x8e\xd0";
    const std::string tokyoUtf8 = "\xe6\x9d\xb1\xe4\xba\xac", honshaUtf8 = "\xe6\x9c\xac\xe7\xa4\xbe";
    const auto excel = [](const std::string& apple, const std::string& tokyo, const std::string& honsha) {
        return "1,\"" + apple + "\",3\r\n2,\"" + tokyo + "\n" + honsha + "\",03-1234\r\n1,\"say \"\"hi\"\"\",,\r\n";
    };
    const std::string libre = "\"1\",\"" + appleUtf8 + "\",\"3\"\n\"2\",\"" + tokyoUtf8 + "\n" + honshaUtf8 +
                              "\",\"03-1234\"\n\"1\",\"say \"\"hi\"\"\",\"\",\"\"\n";
    const std::vector<std::pair<const char*, std::string>> files{
        {"excel-sjis.csv", excel(appleSjis, tokyoSjis, honshaSjis)},
        {"excel-bom.csv", "\xEF\xBB\xBF" + excel(appleUtf8, tokyoUtf8, honshaUtf8)},
        {"libre.csv", libre},
    };
    const std::vector<std::string> cells{appleSjis + ",3\r\n" + tokyoSjis + "\r\n" + honshaSjis + ",03-1234\r\n",
                                         "say \"hi\",,\r\n"};
    for (const auto& [name, bytes] : files) {
        WriteFile(Path(name), bytes);
        const std::string pdf = Path(name) + ".pdf";
        const auto r = RunTool(kTool, {Path(name), "--csv", "-o", pdf, "--version", "4", "--size", "2"});
        ASSERT_EQ(r.status, 0) << name << "\n" << r.err;
        EXPECT_NE(r.out.find("lines: 3\ngroups: 2\n"), std::string::npos) << r.out;
        EXPECT_EQ(QrSymbolsOfFirstPage(pdf), cells) << name;
    }
    // Read line by line, the quotes stay and the cell's second line is left out, by name.
    const auto plain = RunTool(kTool, {Path("excel-sjis.csv"), "-o", Path("plain.pdf"), "--version", "4", "--size", "2"});
    ASSERT_EQ(plain.status, 0) << plain.err;
    EXPECT_NE(plain.err.find("excel-sjis.csv: 2 行目: 引用符の中の改行に続く 3 行目を読み込みませんでした"), std::string::npos)
        << plain.err;
    EXPECT_EQ(QrBytesOfFirstPage(Path("plain.pdf")), "\"" + appleSjis + "\",3\r\n\"" + tokyoSjis + "\r\n");
}

// "-", /dev/stdin, a process substitution and a FIFO cannot seek: they are
// read once, and the encoding guess works on what was read.
TEST_F(MosaikoReport, PipesAreReadOnceAsAStream) {
    WriteFile(Path("sjis.csv"), "1,\x8A\xBF\x8E\x9A\r\n1,ABC\r\n");
    WriteFile(Path("utf8.csv"), "1,\xE6\xBC\xA2\xE5\xAD\x97\r\n1,ABC\r\n");
    ASSERT_EQ(RunTool(kTool, {Path("sjis.csv"), "-o", Path("sjis.pdf"), "--version", "2", "--size", "4"}).status, 0);
    const std::string expected = QrBytesOfFirstPage(Path("sjis.pdf"));
    const std::string tool = Quote(kTool) + " ", csv = Quote(Path("utf8.csv"));
    const std::string fifo = Quote(Path("fifo"));
    for (const std::string& run : {"cat " + csv + " | " + tool + "-", "cat " + csv + " | " + tool + "/dev/stdin",
                                   tool + "<(cat " + csv + ")",
                                   "mkfifo " + fifo + "; cat " + csv + " >" + fifo + " & " + tool + fifo}) {
        std::filesystem::remove(Path("fifo"));
        const auto r = RunTool("bash", {"-c", run + " -o " + Quote(Path("pipe.pdf")) + " --version 2 --size 4"});
        ASSERT_EQ(r.status, 0) << run << "\n" << r.err;
        EXPECT_NE(r.out.find("lines: 2"), std::string::npos) << run << "\n" << r.out;
        EXPECT_NE(r.err.find("UTF-8 として読み込み"), std::string::npos) << run << "\n" << r.err;
        EXPECT_EQ(QrBytesOfFirstPage(Path("pipe.pdf")), expected) << run;
    }
}

// An endless stream ends at the longest line read (4 GiB: about a second),
// naming the file; the encoding guess keeps a bounded part of it.
TEST_F(MosaikoReport, AnEndlessStreamEnds) {
    const auto r = RunTool("bash", {"-c", "timeout 60 " + Quote(kTool) + " /dev/zero -o " + Quote(Path("z.pdf"))});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("/dev/zero: 使用できないデータです。\nmosaiko-report: 1 行目: 行が 4294967296 バイトを超えます"),
              std::string::npos)
        << r.err;
    EXPECT_FALSE(std::filesystem::exists(Path("z.pdf")));
}

TEST_F(MosaikoReport, EncodingOptionAndImportDetails) {
    WriteFile(Path("utf8.csv"), "1,\xE6\xBC\xA2\xE5\xAD\x97\r\n");
    const auto forced = RunTool(kTool, {Path("utf8.csv"), "-o", Path("x.pdf"), "--encoding", "sjis"});
    EXPECT_EQ(forced.status, 0) << forced.err;
    EXPECT_EQ(forced.err.find("UTF-8"), std::string::npos) << forced.err;
    WriteFile(Path("big.csv"), "1,a\r\n98765432101,b\r\n");
    const auto big = RunTool(kTool, {Path("big.csv"), "-o", Path("x.pdf")});
    EXPECT_EQ(big.status, 1);
    EXPECT_NE(big.err.find("使用できないデータです。\nmosaiko-report: 2 行目: 先頭の数値 98765432101 が大きすぎます"),
              std::string::npos)
        << big.err;
    const auto missing = RunTool(kTool, {Path("none.csv"), "-o", Path("x.pdf")});
    EXPECT_NE(missing.err.find("ファイル " + Path("none.csv") + " を読めません: "), std::string::npos) << missing.err;
    EXPECT_EQ(RunTool(kTool, {Path("utf8.csv"), "-o", Path("x.pdf"), "--encoding", "latin1"}).status, 2);
}

}  // namespace
}  // namespace mosaiko::test
