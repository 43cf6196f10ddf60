// mosaiko-report --print through a real CUPS server of the test's own and
// its cups-pdf queue: every QR code of what the PDF printer wrote decodes to
// its group's data.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "PrivateCups.h"
#include "QrDecode.h"
#include "RunTool.h"

namespace mosaiko::test {
namespace {

namespace fs = std::filesystem;

const std::string kTool = MOSAIKO_REPORT_BIN;
const std::string kSample = MOSAIKO_SAMPLE_CSV;

// The groups' data as the check builds it: lines whose first field is a
// whole number, a new group whenever the number does not rise, each line's
// text after its first comma ended by CR LF.
std::vector<std::string> GroupData(const std::string& file) {
    std::vector<std::string> groups;
    long long previous = -1;
    size_t start = 0;
    while (start < file.size()) {
        size_t end = file.find("\r\n", start);
        if (end == std::string::npos) end = file.size();
        const std::string line = file.substr(start, end - start);
        start = end + 2;
        const size_t comma = line.find(',');
        const std::string number = line.substr(0, comma);
        if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos) continue;
        const long long n = std::stoll(number);
        if (groups.empty() || n <= previous) groups.emplace_back();
        previous = n;
        groups.back() += (comma == std::string::npos ? line : line.substr(comma + 1)) + "\r\n";
    }
    return groups;
}

int PageCount(const fs::path& pdf) {
    const std::string info = RunTool("pdfinfo", {pdf.string()}).out;
    const size_t at = info.find("Pages:");
    return at == std::string::npos ? 0 : std::atoi(info.c_str() + at + 6);
}

// Every QR code of every page, in page order and top to bottom, at 600 dpi.
std::vector<std::string> DecodePdf(const fs::path& pdf, const fs::path& work) {
    std::vector<std::string> all;
    for (int page = 1, pages = PageCount(pdf); page <= pages; ++page) {
        const fs::path stem = work / ("page" + std::to_string(page));
        const std::string command = "pdftoppm -r 600 -gray -singlefile -f " + std::to_string(page) + " -l " +
                                    std::to_string(page) + " " + Quote(pdf.string()) + " " + Quote(stem.string()) + " 2>/dev/null";  // Type 3 glyph warnings of the PDF printer
        if (std::system(command.c_str()) != 0) return {"pdftoppm failed"};
        const std::string pgm = ReadFile(stem.string() + ".pgm");
        int width = 0, height = 0, maxValue = 0, consumed = 0;
        if (std::sscanf(pgm.c_str(), "P5 %d %d %d%n", &width, &height, &maxValue, &consumed) != 3) return {"no PGM"};
        const auto* grey = reinterpret_cast<const uint8_t*>(pgm.data() + consumed + 1);
        for (const Decoded& d : DecodeAll(grey, width, height, width)) all.push_back(d.bytes);
    }
    return all;
}

class MosaikoReportPrint : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        cups_ = std::make_unique<PrivateCups>();
        if (!cups_->Start(why_)) return;
        ::setenv("CUPS_SERVER", cups_->Server().c_str(), 1);
        started_ = true;
    }
    static void TearDownTestSuite() {
        ::unsetenv("CUPS_SERVER");
        cups_.reset();  // stops the server
    }
    void SetUp() override {
        if (!started_) GTEST_SKIP() << "CUPS could not be started: " << why_;
        work_ = fs::temp_directory_path() / ("mosaiko-print-" + std::to_string(::getpid()));
        fs::create_directories(work_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(work_, ignored);
    }

    // Prints, waits for the PDF printer's file and decodes it.
    std::vector<std::string> PrintAndDecode(std::initializer_list<std::string> args, int& pages) {
        static size_t printed = 0;
        const ToolResult r = RunTool(kTool, args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.out.find("printer: " + cups_->Queue()), std::string::npos) << r.out;
        if (r.status != 0) return {};
        ++printed;
        if (!cups_->WaitForPdfs(printed)) {
            ADD_FAILURE() << "cups-pdf wrote no PDF: " << cups_->ErrorLog();
            return {};
        }
        fs::path newest;
        for (const auto& entry : fs::directory_iterator(cups_->OutDir()))
            if (newest.empty() || entry.last_write_time() > fs::last_write_time(newest)) newest = entry.path();
        pages = PageCount(newest);
        return DecodePdf(newest, work_);
    }

    static inline std::unique_ptr<PrivateCups> cups_;
    static inline std::string why_;
    static inline bool started_ = false;
    fs::path work_;
};

TEST_F(MosaikoReportPrint, ListsThePrivateQueue) {
    const ToolResult r = RunTool(kTool, {"--list-printers"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, cups_->Queue() + "\n");
}

TEST_F(MosaikoReportPrint, SampleOnTheDefaultPrinterScans) {
    int pages = 0;
    const auto decoded = PrintAndDecode({kSample, "--print", "--title", "PrintSample"}, pages);
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(decoded, GroupData(ReadFile(kSample)));
}

TEST_F(MosaikoReportPrint, ThreePagesOnANamedPrinterScan) {
    std::string file;
    for (int group = 1; group <= 20; ++group)
        for (int line = 1; line <= 1 + group % 3; ++line)
            file += std::to_string(line) + ",Group " + std::to_string(group) + " line " + std::to_string(line) + "\r\n";
    WriteFile(work_ / "three.csv", file);
    int pages = 0;
    const auto decoded =
        PrintAndDecode({(work_ / "three.csv").string(), "--print=" + cups_->Queue(), "--title", "Three"}, pages);
    EXPECT_EQ(pages, 3);
    EXPECT_EQ(decoded, GroupData(file));
}

TEST_F(MosaikoReportPrint, FailingCheckAndUnknownPrinterPrintNothing) {
    auto pdfCount = [&] {
        size_t n = 0;
        for (const auto& entry : fs::directory_iterator(cups_->OutDir())) n += entry.path().extension() == ".pdf";
        return n;
    };
    const size_t before = pdfCount();
    WriteFile(work_ / "long.csv", "1," + std::string(40, 'q') + "\r\n");
    const ToolResult failing = RunTool(kTool, {(work_ / "long.csv").string(), "--print", "--version", "1"});
    EXPECT_EQ(failing.status, 1);
    EXPECT_NE(failing.err.find("グループ 1（データ 42 バイト"), std::string::npos) << failing.err;
    const ToolResult unknown = RunTool(kTool, {kSample, "--print", "no-such-printer"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_NE(unknown.err.find("プリンター no-such-printer が見つかりません"), std::string::npos) << unknown.err;
    // No job was sent: the queue is idle with no new file.
    EXPECT_TRUE(cups_->WaitForPdfs(before, 5));
    EXPECT_EQ(pdfCount(), before);
}


// A TCP socket on 127.0.0.1 and its port: listening (connections are accepted
// by the kernel and never answered) or closed again (nothing is there).
std::pair<int, int> LocalSocket(bool listening) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), size);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    if (listening) ::listen(fd, 4);
    else ::close(fd);
    return {listening ? fd : -1, ntohs(address.sin_port)};
}

TEST(MosaikoReportNoCups, ServiceThatDoesNotAnswerIsNamedWithinFifteenSeconds) {
    for (const bool listening : {true, false}) {
        const auto [fd, port] = LocalSocket(listening);
        const std::string server = "127.0.0.1:" + std::to_string(port);
        ::setenv("CUPS_SERVER", server.c_str(), 1);
        for (const auto& args : {std::initializer_list<std::string>{"--list-printers"},
                                 std::initializer_list<std::string>{kSample, "--print"}}) {
            const auto start = std::chrono::steady_clock::now();
            const ToolResult r = RunTool(kTool, args);
            EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(15));
            EXPECT_EQ(r.status, 1) << r.err;
            EXPECT_NE(r.err.find("印刷サービスに接続できません（" + server + "）"), std::string::npos) << r.err;
            EXPECT_EQ(r.err.find("プリンターがありません"), std::string::npos) << r.err;
        }
        ::unsetenv("CUPS_SERVER");
        if (fd >= 0) ::close(fd);
    }
}

}  // namespace
}  // namespace mosaiko::test
