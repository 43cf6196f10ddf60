// mosaiko-qr --format emf|wmf|svg: the control's recorded picture, rendered
// by real readers (LibreOffice, libwmf, librsvg) and decoded by zxing-cpp. A
// format is skipped when its reader is not installed.
#include <gtest/gtest.h>

#include <QImage>
#include <QRegularExpression>
#include <QString>
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
    EXPECT_NE(bad.err.find("pbm, png, emf, wmf, svg"), std::string::npos);
}

}  // namespace
}  // namespace mosaiko::test
