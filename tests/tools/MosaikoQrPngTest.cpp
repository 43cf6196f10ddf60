// mosaiko-qr --format png: the control's picture, read back by a real decoder.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>

#include "QrDecodeQt.h"
#include "RunTool.h"

namespace mosaiko::test {
namespace {

const std::string kTool = MOSAIKO_QR_BIN;

QImage Png(const std::string& bytes) {
    return QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()), "PNG");
}

std::string DecodedText(const QImage& image) {
    const auto d = DecodeImage(image);
    return d ? d->bytes : "<unreadable>";
}

TEST(MosaikoQrPng, PictureDecodesToTheText) {
    const auto r = RunTool(kTool, {"--format", "png", "--pxmag", "2", "--version", "2", "HELLO PNG"});
    ASSERT_EQ(r.status, 0) << r.err;
    const QImage image = Png(r.out);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(66, 66));  // (25 + 8) * 2
    EXPECT_EQ(DecodedText(image), "HELLO PNG");
}

TEST(MosaikoQrPng, AngleColoursSpacesAndComments) {
    const auto dir = std::filesystem::temp_directory_path() / ("mosaiko-qr-png-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "out.png").string();
    const auto r = RunTool(kTool, {"--format=png", "-o", file, "--pxmag", "3", "--angle", "90", "--fg", "#102060",
                                   "--bg", "#FFF8E0", "--space-up", "20", "--space-right", "10", "--comment-up",
                                   "日本語 comment", "--comment-up-loc", "center", "Turned text"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.empty());
    const QImage image = Png(ReadFile(file));
    std::filesystem::remove_all(dir);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(87 + 20, 87 + 10));  // turned: height and width swap
    EXPECT_EQ(image.pixel(image.width() - 1, 0) & 0xFFFFFF, 0xFFF8E0u);
    EXPECT_EQ(DecodedText(image), "Turned text");
}

TEST(MosaikoQrPng, GridsOfPlusAndConnectedSymbols) {
    const std::string text = "A GRID OF FOUR SYMBOLS, EACH CUT OUT AND READ";
    for (const char* structure : {"plus", "connect"}) {
        SCOPED_TRACE(structure);
        const auto r = RunTool(kTool, {"--format", "png", "--structure", structure, "--count", "4", "--column", "2",
                                       "--version", "2", "--numbering", "tail", "--comment-down", "No.",
                                       "--space-down", "16", text});
        ASSERT_EQ(r.status, 0) << r.err;
        const QImage image = Png(r.out);
        ASSERT_EQ(image.size(), QSize(2 * 33, 2 * (33 + 16)));
        std::string joined;
        for (int k = 0; k < 4; ++k) {
            const QImage cell = image.copy(k % 2 * 33, k / 2 * 49, 33, 49);
            const auto d = DecodeImage(cell);
            ASSERT_TRUE(d.has_value()) << k;
            if (std::string(structure) == "connect") {
                EXPECT_EQ(d->sequenceIndex, k);
                EXPECT_EQ(d->sequenceSize, 4);
            }
            joined += d->bytes;
        }
        EXPECT_EQ(joined, text);
    }
}

TEST(MosaikoQrPng, TransparentLeavesTheBackgroundOut) {
    const auto r = RunTool(kTool, {"--format", "png", "--pxmag", "2", "--transparent", "--angle", "180", "CLEAR"});
    ASSERT_EQ(r.status, 0) << r.err;
    QImage image = Png(r.out).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(image.size(), QSize(58, 58));
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);           // quiet zone
    EXPECT_EQ(image.pixel(57 - 8, 57 - 8), qRgb(0, 0, 0));  // finder corner, turned
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) == 0) image.setPixel(x, y, qRgb(255, 255, 255));
    EXPECT_EQ(DecodedText(image), "CLEAR");
}

TEST(MosaikoQrPng, WorksWithoutADisplay) {
    const char* saved = std::getenv("QT_QPA_PLATFORM");
    const std::string platform = saved ? saved : "";
    ::unsetenv("QT_QPA_PLATFORM");
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    const auto r = RunTool(kTool, {"--format", "png", "NO DISPLAY"});
    if (saved) ::setenv("QT_QPA_PLATFORM", platform.c_str(), 1);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(DecodedText(Png(r.out)), "NO DISPLAY");
}

TEST(MosaikoQrPng, SettingsOutOfRangeAreUsageErrors) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--angle", "45"}, "0, 90, 180, 270"},
        {{"--fg", "red"}, "#RRGGBB"},
        {{"--bg", "#12345"}, "#RRGGBB"},
        {{"--column", "0"}, "1 to 1024"},
        {{"--column", "1025"}, "1 to 1024"},
        {{"--numbering", "both"}, "none, head, tail, ifvoid"},
        {{"--comment-up-loc", "middle"}, "left, center, right"},
        {{"--space-left", "-1"}, "0 to 1000"},
    };
    for (const auto& [args, range] : cases) {
        SCOPED_TRACE(args.front());
        const auto r = RunTool(kTool, {"--format", "png", args[0], args[1], "x"});
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find(args[0]), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(range), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
}

TEST(MosaikoQrPng, SymbolThatDoesNotFitExitsOne) {
    const auto r = RunTool(kTool, {"--format", "png", std::string(30, 'x')});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("do not fit version 1-L"), std::string::npos);
}

}  // namespace
}  // namespace mosaiko::test
