// Faults a careful user or a script meets: a full device, a failing run over
// an existing file, an unreadable input, data or pictures too large, memory
// running out. What is left on disk, the exit status and the message.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <thread>
#include <unistd.h>
#include <vector>

#include "BackgroundRun.h"
#include "RunTool.h"

namespace mosaiko::test {
namespace {

const std::string kQr = MOSAIKO_QR_BIN;
const std::string kReport = MOSAIKO_REPORT_BIN;
const std::string kSample = MOSAIKO_SAMPLE_CSV;

class OutputSafety : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() / ("mosaiko-safety-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Path(const char* name) const { return (dir_ / name).string(); }
    // Only the named files stand in the folder: no temporary file was left.
    std::size_t FileCount() const {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir_), {}));
    }

    std::filesystem::path dir_;
};

TEST_F(OutputSafety, ReportToAFullDeviceFails) {
    const auto r = RunTool(kReport, {kSample, "-o", "/dev/full"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("/dev/full"), std::string::npos) << r.err;
}

TEST_F(OutputSafety, FailingReportLeavesTheOldPdf) {
    WriteFile(Path("old.pdf"), "old report");
    const auto failed = RunTool(kReport, {kSample, "-o", Path("old.pdf"), "--version", "1"});
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(ReadFile(Path("old.pdf")), "old report");

    const auto missingFolder = RunTool(kReport, {kSample, "-o", Path("gone/new.pdf")});
    EXPECT_EQ(missingFolder.status, 1);
    EXPECT_NE(missingFolder.err.find("gone/new.pdf"), std::string::npos) << missingFolder.err;

    const auto replaced = RunTool(kReport, {kSample, "-o", Path("old.pdf")});
    EXPECT_EQ(replaced.status, 0) << replaced.err;
    EXPECT_EQ(ReadFile(Path("old.pdf")).substr(0, 5), "%PDF-");
    EXPECT_EQ(FileCount(), 1u);
}

TEST_F(OutputSafety, ReportToStandardOutput) {
    const auto r = RunTool(kReport, {kSample, "-o", "-"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, 5), "%PDF-");
    EXPECT_NE(r.err.find("pages: 1"), std::string::npos) << r.err;
}

// A 2 GB line under a 1 GiB address-space limit: only its first 64 KiB are
// kept, with a warning naming the line (the group is then too long for its
// symbol). AddressSanitizer reserves more address space than any such limit
// allows, so that build skips it.
TEST_F(OutputSafety, LineLargerThanMemoryIsCut) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "an address-space limit cannot be combined with AddressSanitizer";
#else
    {
        std::ofstream(Path("huge.csv")) << "1,";
    }
    std::filesystem::resize_file(Path("huge.csv"), 2'000'000'000);
    const auto r = RunTool("prlimit", {"--as=1073741824", kReport, Path("huge.csv"), "-o", Path("huge.pdf")});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("huge.csv: 1 行目: 行が 65536 バイトを超える"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(Path("huge.pdf")));
#endif
}

TEST_F(OutputSafety, FailingSymbolRunLeavesTheOldFile) {
    WriteFile(Path("old.pbm"), "old");
    const auto r = RunTool(kQr, {"--version", "1", std::string(100, 'a'), "-o", Path("old.pbm")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(ReadFile(Path("old.pbm")), "old");
    const auto ok = RunTool(kQr, {"HELLO", "-o", Path("old.pbm")});
    EXPECT_EQ(ok.status, 0) << ok.err;
    EXPECT_EQ(ReadFile(Path("old.pbm")).substr(0, 2), "P1");
    EXPECT_EQ(FileCount(), 1u);
}

TEST_F(OutputSafety, UnreadableOrTooLargeInputIsRefused) {
    const auto folder = RunTool(kQr, {"--input", dir_.string()});
    EXPECT_EQ(folder.status, 2);
    EXPECT_NE(folder.err.find("cannot read"), std::string::npos) << folder.err;

    WriteFile(Path("long.txt"), std::string(1024 * 7089 + 1, '7'));
    const auto tooLong = RunTool(kQr, {"--input", Path("long.txt"), "-o", Path("long.pbm")});
    EXPECT_EQ(tooLong.status, 1);
    EXPECT_NE(tooLong.err.find("7259136"), std::string::npos) << tooLong.err;
    EXPECT_NE(tooLong.err.find("2953 bytes in byte mode"), std::string::npos) << tooLong.err;
    EXPECT_EQ(tooLong.err.find("7089 bytes"), std::string::npos) << tooLong.err;
    EXPECT_FALSE(std::filesystem::exists(Path("long.pbm")));
}

TEST_F(OutputSafety, PictureTooLargeIsRefusedBeforePainting) {
    WriteFile(Path("data.txt"), std::string(2'900'000, '7'));
    const auto r = RunTool(kQr, {"--format", "png", "--version", "40", "--pxmag", "10", "--structure", "connect",
                                 "--count", "1024", "--input", Path("data.txt"), "-o", Path("big.png")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("29600 x 118400"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(Path("big.png")));
}

// Killed while it writes the PDF: the old report stays as it was, and the
// temporary file beside it goes with the run.
TEST_F(OutputSafety, ReportKilledMidRunLeavesTheOldPdfAndNoTemporaryFile) {
    std::string csv;
    for (int i = 0; i < 5000; ++i) csv += "1,line " + std::to_string(i) + " of a long report\r\n";
    WriteFile(Path("long.csv"), csv);
    WriteFile(Path("old.pdf"), "old report");
    BackgroundRun run(kReport, {Path("long.csv"), "-o", Path("old.pdf")});
    // The temporary file appears once the check has passed and the pages are written.
    ASSERT_TRUE(Eventually([&] { return FileCount() == 3; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const int status = run.Terminate();
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
    EXPECT_EQ(ReadFile(Path("old.pdf")), "old report");
    EXPECT_EQ(FileCount(), 2u);
}

// mosaiko-qr writes its file only at the end, in one go; killed while it
// still reads its input, it leaves the old file and nothing beside it.
TEST_F(OutputSafety, SymbolRunKilledMidRunLeavesTheOldFile) {
    WriteFile(Path("old.pbm"), "old");
    BackgroundRun run(kQr, {"--structure", "plus", "--count", "1024", "-o", Path("old.pbm")});
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const int status = run.Terminate();
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
    EXPECT_EQ(ReadFile(Path("old.pbm")), "old");
    EXPECT_EQ(FileCount(), 1u);
}

}  // namespace
}  // namespace mosaiko::test
