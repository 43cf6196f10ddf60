// mosaiko-qr --format emf|wmf|svg: the control's recorded picture, rendered
// by real readers (LibreOffice, libwmf, librsvg) and decoded by zxing-cpp. A
// format is skipped when its reader is not installed.
#include <gtest/gtest.h>

#include <cstdlib>

#include <QImage>
#include <QRegularExpression>
#include <QString>
#include <algorithm>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "QrDecodeQt.h"
#include "RunTool.h"

namespace mosaiko::test {
namespace {

const std::string kTool = MOSAIKO_QR_BIN;
const std::string kText = "METAFILE FROM THE COMMAND LINE";

bool Installed(const std::string& program) { return RunTool("/bin/sh", {"-c", "command -v " + program}).status == 0; }

class MosaikoQrMetafile : public testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() / ("mosaiko-qr-meta-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    // Writes the symbol of kText in the format; version 3, 3 pixels a module.
    std::string Make(const std::string& format) {
        const std::string file = Path("symbol." + format);
        const auto r = RunTool(kTool, {"--format", format, "--version", "3", "--pxmag", "3", "-o", file, kText});
        EXPECT_EQ(r.status, 0) << r.err;
        return file;
    }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    static std::string Decoded(const std::string& png) {
        const auto d = DecodeImage(QImage(QString::fromStdString(png)));
        return d ? d->bytes : "<unreadable>";
    }

    std::filesystem::path dir_;
};

// The peak resident size in KiB of a shell command and everything it ran.
long PeakKib(const std::string& command) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    if (pid < 0 || ::wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    return usage.ru_maxrss;
}

// 64 symbols of version 40 are written as they are painted: the whole
// recording would take about 230 MB (SVG) and 150 MB (EMF), and a bitmap of
// the whole block 9 MB. The run takes little more than one symbol's does.
// AddressSanitizer keeps freed memory in quarantine; the runs turn that off,
// so the sanitizer build measures the same.
TEST_F(MosaikoQrMetafile, ManySymbolsAreWrittenWithoutKeepingTheRecording) {
    constexpr long kMarginKib = 4 * 1024;
    const char* asan = std::getenv("ASAN_OPTIONS");
    ::setenv("ASAN_OPTIONS", ((asan ? std::string(asan) + ":" : "") + "quarantine_size_mb=0").c_str(), 1);
    std::string data(64 * 2700, ' ');
    unsigned seed = 1;
    for (char& c : data) c = static_cast<char>('!' + (seed = seed * 1103515245 + 12345) / 65536 % 90);
    WriteFile(Path("data.txt"), data);
    WriteFile(Path("one.txt"), data.substr(0, 2700));
    for (const std::string format : {"svg", "emf"}) {
        const auto peak = [&](const std::string& count, const std::string& input) {
            return PeakKib(Quote(kTool) + " --count " + count + " --version 40 --format " + format + " --input " +
                           Quote(Path(input)) + " -o " + Quote(Path("many." + format)));
        };
        const long one = peak("1", "one.txt");
        const long many = peak("64", "data.txt");
        EXPECT_GT(one, 0) << format;
        EXPECT_LT(many, one + kMarginKib) << format;
    }
    if (asan) ::setenv("ASAN_OPTIONS", asan, 1); else ::unsetenv("ASAN_OPTIONS");
}

TEST_F(MosaikoQrMetafile, SvgIsReadByLibrsvg) {
    if (!Installed("rsvg-convert")) GTEST_SKIP() << "rsvg-convert is not installed";
    const std::string svg = Make("svg");
    // The matched picture is (29 + 8) * 3 = 111 pixels, and a metafile one more.
    EXPECT_NE(ReadFile(svg).find("width=\"112px\" height=\"112px\""), std::string::npos);
    ASSERT_EQ(RunTool("rsvg-convert", {"-o", Path("svg.png"), svg}).status, 0);
    EXPECT_EQ(Decoded(Path("svg.png")), kText);
}

TEST_F(MosaikoQrMetafile, WmfIsReadByLibwmf) {
    if (!Installed("wmf2svg") || !Installed("rsvg-convert")) GTEST_SKIP() << "wmf2svg or rsvg-convert is missing";
    const std::string wmf = ReadFile(Make("wmf"));
    ASSERT_GE(wmf.size(), 22u);
    EXPECT_EQ(wmf.substr(0, 4), "\xD7\xCD\xC6\x9A");  // the placeable header's key
    ASSERT_EQ(RunTool("wmf2svg", {"-o", Path("wmf.svg"), Path("symbol.wmf")}).status, 0);
    ASSERT_EQ(RunTool("rsvg-convert", {"-o", Path("wmf.png"), Path("wmf.svg")}).status, 0);
    EXPECT_EQ(Decoded(Path("wmf.png")), kText);
}

TEST_F(MosaikoQrMetafile, EmfIsReadByLibreOffice) {
    if (!Installed("soffice")) GTEST_SKIP() << "LibreOffice is not installed";
    const std::string emf = ReadFile(Make("emf"));
    ASSERT_GE(emf.size(), 44u);
    EXPECT_EQ(emf.substr(40, 4), " EMF");
    const auto r = RunTool("soffice", {"-env:UserInstallation=file://" + Path("profile"), "--headless", "--convert-to",
                                       "png", "--outdir", dir_.string(), Path("symbol.emf")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Decoded(Path("symbol.png")), kText);
}

// A comment of 90,000 characters: once measured prefix by prefix, which took
// minutes; the test's time-out catches a return to that. Control bytes in it
// are left out of the SVG text, so XML readers take the document. (librsvg
// itself takes minutes over so long a text, so it renders a short one below.)
TEST_F(MosaikoQrMetafile, LongCommentWithControlBytes) {
    std::string comment;
    for (int i = 0; comment.size() < 90000; ++i) comment += i % 100 == 0 ? "AV\x01W\x1f\x7f" : "AVA WAy ";
    const std::string svg = Path("long.svg"), emf = Path("long.emf");
    for (const std::string& file : {svg, emf}) {
        const std::string format = file.substr(file.size() - 3);
        const auto r = RunTool(kTool, {"--format", format, "--version", "3", "--pxmag", "3", "--space-down", "20",
                                       "--comment-down", comment, "-o", file, kText});
        ASSERT_EQ(r.status, 0) << r.err;
    }
    const std::string text = ReadFile(svg);
    EXPECT_EQ(text.find('\x01'), std::string::npos);
    EXPECT_EQ(text.find('\x1f'), std::string::npos);
    EXPECT_NE(text.find("AVW\x7f"), std::string::npos);  // DEL is a character XML allows
    // One x for each character kept.
    const QRegularExpression xs(QStringLiteral("<text[^>]* x=\"([^\"]*)\""));
    const auto match = xs.match(QString::fromStdString(text));
    ASSERT_TRUE(match.hasMatch());
    const std::size_t left = comment.size() - 2 * static_cast<std::size_t>(std::count(comment.begin(), comment.end(), '\x01'));
    EXPECT_EQ(static_cast<std::size_t>(match.captured(1).split(' ').size()), left);
    if (Installed("xmllint")) {
        EXPECT_EQ(RunTool("xmllint", {"--noout", svg}).status, 0);
    }
    // One 32-bit advance per character in the EMF text record.
    EXPECT_GT(std::filesystem::file_size(emf), 4 * comment.size());
}

TEST_F(MosaikoQrMetafile, CommentWithControlBytesIsRenderedByLibrsvg) {
    if (!Installed("rsvg-convert")) GTEST_SKIP() << "rsvg-convert is not installed";
    const std::string svg = Path("control.svg");
    const auto r = RunTool(kTool, {"--format", "svg", "--version", "3", "--pxmag", "3", "--space-down", "20",
                                   "--comment-down", "No.\x01 1\x1b[0m\x08", "-o", svg, kText});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(ReadFile(svg).find(">No. 1[0m</text>"), std::string::npos) << ReadFile(svg);
    ASSERT_EQ(RunTool("rsvg-convert", {"-o", Path("control.png"), svg}).status, 0);
    EXPECT_EQ(Decoded(Path("control.png")), kText);
}

TEST_F(MosaikoQrMetafile, MetafilesAreNeverTurnedAndFailuresStillWrite) {
    for (const char* option : {"--angle=90", "--transparent"}) {
        const auto r = RunTool(kTool, {"--format", "emf", option, "TEXT"});
        EXPECT_EQ(r.status, 2) << option;
        EXPECT_NE(r.err.find("png only"), std::string::npos) << r.err;
    }
    // A text too long for version 1: exit status 1, and an (empty) EMF all the same.
    const auto r = RunTool(kTool, {"--format", "emf", "--version", "1", std::string(100, 'x')});
    EXPECT_EQ(r.status, 1);
    ASSERT_GE(r.out.size(), 44u);
    EXPECT_EQ(r.out.substr(40, 4), " EMF");
    const auto bad = RunTool(kTool, {"--format", "gif", "TEXT"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("pbm, pbm-text, png, emf, wmf, svg"), std::string::npos);
}

}  // namespace
}  // namespace mosaiko::test
