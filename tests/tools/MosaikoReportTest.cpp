// mosaiko-report as a user runs it: the sample file to a PDF, a failing
// check, bad files and bad options.
#include <gtest/gtest.h>

#include <filesystem>

#include "RunTool.h"

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
}

TEST_F(MosaikoReport, FailingGroupsWriteNoPdf) {
    WriteFile(Path("long.csv"), "1,short\r\n1," + std::string(40, 'q') + "\r\n1,ok\r\n");
    const auto r = RunTool(kTool, {Path("long.csv"), "-o", Path("long.pdf"), "--version", "1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("result: 異常"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("failed groups: 2\n"), std::string::npos) << r.out;
    EXPECT_FALSE(std::filesystem::exists(Path("long.pdf")));
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
                                                                  {kSample, "-o", "x.pdf", "--colour", "red"}}) {
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
