// What -o does with the names a file has: the input under another name is
// refused, links are followed or kept, a killed run's leftovers are cleaned
// up, a full disk is named, and the temporary file is synced before it
// replaces the old one (seen in a traced run). Real programs, real links,
// SIGKILL and a small tmpfs.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/mount.h>
#include <sys/stat.h>

#include "BackgroundRun.h"
#include "RunTool.h"

namespace mosaiko::test {
namespace {

namespace fs = std::filesystem;
const std::string kQr = MOSAIKO_QR_BIN;
const std::string kReport = MOSAIKO_REPORT_BIN;
const std::string kSample = MOSAIKO_SAMPLE_CSV;

class OutputNames : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("mosaiko-names-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        if (mounted_) ::umount(Path("small").c_str());
        fs::remove_all(dir_);
    }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    std::size_t FileCount(const std::string& folder = "") const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_ / folder), {}));
    }
    // `file` and the other names of it that -o may be given.
    std::vector<std::string> OtherNames(const std::string& file) {
        fs::create_symlink(file, Path("symlink"));
        fs::create_hard_link(Path(file), Path("hardlink"));
        return {Path(file), (dir_ / "." / file).string(), Path("symlink"), Path("hardlink")};
    }
    // A 64 KiB tmpfs in "small", holding "old.out"; false where mounting is not allowed.
    bool MountSmallDisk() {
        fs::create_directories(Path("small"));
        mounted_ = ::mount("tmpfs", Path("small").c_str(), "tmpfs", 0, "size=64k") == 0;
        if (mounted_) WriteFile(Path("small/old.out"), "old");
        return mounted_;
    }

    fs::path dir_;
    bool mounted_ = false;
};

// --- mosaiko-report ---

TEST_F(OutputNames, ReportRefusesItsInputUnderEveryName) {
    const std::string data = ReadFile(kSample);
    WriteFile(Path("x.csv"), data);
    for (const std::string& name : OtherNames("x.csv")) {
        const auto r = RunTool(kReport, {Path("x.csv"), "-o", name});
        EXPECT_EQ(r.status, 2) << name;
        EXPECT_NE(r.err.find("入力ファイルと同じ"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(name), std::string::npos) << r.err;
        EXPECT_EQ(ReadFile(Path("x.csv")), data) << name;
    }
}

TEST_F(OutputNames, ReportReplacesTheFileBehindEveryName) {
    WriteFile(Path("t.pdf"), "old");
    fs::create_symlink("t.pdf", Path("link.pdf"));
    fs::create_hard_link(Path("t.pdf"), Path("second.pdf"));
    for (const char* name : {"link.pdf", "second.pdf", "t.pdf"}) {
        WriteFile(Path("t.pdf"), "old");
        const auto r = RunTool(kReport, {kSample, "-o", Path(name)});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_TRUE(fs::is_symlink(Path("link.pdf"))) << name;
        EXPECT_TRUE(fs::equivalent(Path("t.pdf"), Path("second.pdf"))) << name;
        EXPECT_EQ(ReadFile(Path("second.pdf")).substr(0, 5), "%PDF-") << name;
        EXPECT_EQ(FileCount(), 3u) << name;
    }
}

// A run killed outright leaves its temporary file; the next run into the
// folder removes it, and only it: another program's hidden file and one
// whose writer still runs (this test) stay.
TEST_F(OutputNames, KilledRunsLeftoversGoWithTheNextRun) {
    std::string csv;
    for (int i = 0; i < 5000; ++i) csv += "1,line " + std::to_string(i) + " of a long report\r\n";
    WriteFile(Path("long.csv"), csv);
    {
        BackgroundRun run(kReport, {Path("long.csv"), "-o", Path("r.pdf")});
        ASSERT_TRUE(Eventually([&] { return FileCount() == 2; }));
        const int status = run.Stop(SIGKILL);
        EXPECT_TRUE(WIFSIGNALED(status)) << status;
    }
    ASSERT_EQ(FileCount(), 2u);
    const std::string foreign = Path(".r.pdf.Ab12Cd");
    const std::string living = Path(".r.pdf.mosaiko-" + std::to_string(::getpid()) + ".Ab12Cd");
    WriteFile(foreign, "another program's");
    WriteFile(living, "a running writer's");
    const auto next = RunTool(kQr, {"HELLO", "-o", Path("h.pbm")});
    EXPECT_EQ(next.status, 0) << next.err;
    EXPECT_EQ(FileCount(), 4u);  // long.csv, h.pbm and the two others'
    EXPECT_TRUE(fs::exists(foreign));
    EXPECT_TRUE(fs::exists(living));
}

// --- mosaiko-qr ---

TEST_F(OutputNames, SymbolRunRefusesItsInputUnderEveryName) {
    WriteFile(Path("q.txt"), "HELLO");
    for (const std::string& name : OtherNames("q.txt")) {
        const auto r = RunTool(kQr, {"--input", Path("q.txt"), "-o", name});
        EXPECT_EQ(r.status, 2) << name;
        EXPECT_NE(r.err.find("is the input file"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(name), std::string::npos) << r.err;
        EXPECT_EQ(ReadFile(Path("q.txt")), "HELLO") << name;
    }
}

// A plain old file is replaced, never written in place: a reader holding it
// open still sees the old bytes. Links behave as for the report.
TEST_F(OutputNames, SymbolRunReplacesTheFileBehindEveryName) {
    WriteFile(Path("t.pbm"), "old");
    std::ifstream reader(Path("t.pbm"));
    ASSERT_EQ(RunTool(kQr, {"HELLO", "-o", Path("t.pbm")}).status, 0);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(reader), {}), "old");
    EXPECT_EQ(ReadFile(Path("t.pbm")).substr(0, 2), "P1");

    fs::create_symlink("t.pbm", Path("link.pbm"));
    fs::create_symlink("new.pbm", Path("dangling.pbm"));
    fs::create_hard_link(Path("t.pbm"), Path("second.pbm"));
    for (const char* name : {"link.pbm", "second.pbm", "dangling.pbm"}) {
        WriteFile(Path("t.pbm"), "old");
        ASSERT_EQ(RunTool(kQr, {"HELLO", "-o", Path(name)}).status, 0) << name;
        EXPECT_TRUE(fs::is_symlink(Path("link.pbm")));
        EXPECT_TRUE(fs::equivalent(Path("t.pbm"), Path("second.pbm")));
        EXPECT_EQ(ReadFile(Path(name)).substr(0, 2), "P1") << name;
    }
    EXPECT_EQ(ReadFile(Path("t.pbm")), "old");  // the dangling link made new.pbm
}

// --- both: a full disk, and the order of sync and rename ---

TEST_F(OutputNames, FullDiskNamesTheReasonAndKeepsTheOldFile) {
    if (!MountSmallDisk()) GTEST_SKIP() << "no tmpfs can be mounted here";
    std::string csv;
    for (int i = 0; i < 400; ++i) csv += "1,line " + std::to_string(i) + "\r\n";
    WriteFile(Path("many.csv"), csv);
    WriteFile(Path("data.txt"), std::string(60000, 'a'));
    const std::string out = Path("small/old.out");
    const ToolResult runs[] = {
        RunTool(kReport, {Path("many.csv"), "-o", out}),
        RunTool(kQr, {"--version", "40", "--structure", "connect", "--count", "30", "--input", Path("data.txt"),
                      "-o", out}),
    };
    for (const ToolResult& r : runs) {
        EXPECT_NE(r.status, 0);
        EXPECT_NE(r.err.find("cannot write " + out + ": No space left on device"), std::string::npos) << r.err;
        EXPECT_EQ(ReadFile(out), "old");
        EXPECT_EQ(FileCount("small"), 1u);
    }
}

// Under strace: the temporary file is opened, written, synced, and only then
// renamed over the file the user named.
TEST_F(OutputNames, TemporaryFileIsSyncedBeforeItReplacesTheOldOne) {
    if (std::system("strace -V >/dev/null 2>&1") != 0) GTEST_SKIP() << "strace is not installed";
    WriteFile(Path("old.out"), "old");
    const std::vector<std::vector<std::string>> runs = {{kQr, "HELLO", "-o", Path("old.out")},
                                                        {kReport, kSample, "-o", Path("old.out")}};
    for (const auto& run : runs) {
        // LeakSanitizer cannot run under a tracer; the sanitizer build's leak
        // check is the other tests' business.
        std::string command = "ASAN_OPTIONS=detect_leaks=0 strace -f -qq -o " + Quote(Path("trace")) +
                              " -e trace=openat,write,fsync,rename";
        for (const std::string& a : run) {
            command += ' ';
            command += Quote(a);
        }
        ASSERT_EQ(std::system((command + " >/dev/null 2>&1").c_str()), 0) << command;
        std::ifstream trace(Path("trace"));
        std::string line, tempFd;
        bool written = false, synced = false, renamed = false;
        while (std::getline(trace, line)) {
            if (line.find("openat(") != std::string::npos && line.find(".old.out.mosaiko-") != std::string::npos)
                tempFd = line.substr(line.rfind("= ") + 2);
            if (!tempFd.empty() && line.find("write(" + tempFd + ",") != std::string::npos) written = !synced;
            if (!tempFd.empty() && line.find("fsync(" + tempFd + ")") != std::string::npos && line.ends_with("= 0")) synced = true;
            if (line.find("rename(") != std::string::npos && line.find(".old.out.mosaiko-") != std::string::npos) {
                EXPECT_TRUE(synced) << run[0] << " renamed before syncing: " << line;
                renamed = true;
            }
        }
        EXPECT_FALSE(tempFd.empty()) << run[0];
        EXPECT_TRUE(written) << run[0] << " wrote nothing into the temporary file before syncing it";
        EXPECT_TRUE(renamed) << run[0];
    }
}

}  // namespace
}  // namespace mosaiko::test
