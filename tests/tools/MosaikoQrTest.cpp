// mosaiko-qr as a user runs it: text, files and standard input, every usage
// error, the exit codes, and PBM output read back by a real decoder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <sstream>

#include "QrDecode.h"
#include "RunTool.h"

namespace mosaiko::test {
namespace {

const std::string kTool = MOSAIKO_QR_BIN;

// Splits the PBM images into their bitmaps and decodes each; `modeLine` gets
// the first header's comment.
std::vector<std::string> DecodePbm(const std::string& text, std::string* modeLine = nullptr) {
    std::istringstream in(text);
    std::vector<std::string> decoded;
    std::string line;
    while (std::getline(in, line)) {
        if (line != "P1") continue;
        while (std::getline(in, line) && line.rfind("# ", 0) == 0)
            if (modeLine && decoded.empty()) *modeLine = line.substr(2);
        const int width = std::stoi(line);
        while (std::getline(in, line) && line.empty()) {
        }
        GreyImage image{width, width, {}};
        for (int y = 0; y < width; ++y) {
            for (size_t i = 1; i < line.size(); i += 2) image.pixels.push_back(line[i] == '1' ? 0 : 255);
            if (y + 1 < width && !std::getline(in, line)) break;
        }
        if (static_cast<int>(image.pixels.size()) != width * width) break;
        const auto d = DecodeImage(image);
        decoded.push_back(d ? d->bytes : "<unreadable>");
    }
    return decoded;
}

TEST(MosaikoQr, TextArgumentStdinAndFiles) {
    const auto r = RunTool(kTool, {"HELLO WORLD"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, 3), "P1\n");
    EXPECT_EQ(DecodePbm(r.out), std::vector<std::string>{"HELLO WORLD"});

    const std::string binary = std::string("\x00\x01\xff\r\n", 5) + "\x93\xfa\x96\x7b";
    const auto piped = RunTool(kTool, {"--version", "2"}, binary);
    ASSERT_EQ(piped.status, 0) << piped.err;
    EXPECT_EQ(DecodePbm(piped.out), std::vector<std::string>{binary});

    const auto dir = std::filesystem::temp_directory_path() / "mosaiko-qr-files";
    std::filesystem::create_directories(dir);
    WriteFile(dir / "data.bin", "FROM A FILE");
    const auto written = RunTool(kTool, {"--input", (dir / "data.bin").string(), "-o", (dir / "out.pbm").string()});
    ASSERT_EQ(written.status, 0) << written.err;
    EXPECT_TRUE(written.out.empty());
    EXPECT_EQ(DecodePbm(ReadFile(dir / "out.pbm")), std::vector<std::string>{"FROM A FILE"});
    std::filesystem::remove_all(dir);

    EXPECT_EQ(DecodePbm(RunTool(kTool, {"--", "--NOT-AN-OPTION"}).out), std::vector<std::string>{"--NOT-AN-OPTION"});
}

TEST(MosaikoQr, SettingsReachTheSymbol) {
    const auto r = RunTool(kTool, {"--version=3", "--level", "H", "--mask", "5", "--pxmag", "2", "--info", "MASKED"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\n74 74\n"), std::string::npos);  // (29 + 8) * 2 for version 3
    EXPECT_NE(r.err.find("masktype_r=5\n"), std::string::npos);
    EXPECT_EQ(DecodePbm(r.out), std::vector<std::string>{"MASKED"});

    const auto escaped = RunTool(kTool, {"--binary", "--info", "A~0D0A~B~~"});
    ASSERT_EQ(escaped.status, 0);
    EXPECT_EQ(DecodePbm(escaped.out), std::vector<std::string>{"A\r\nB~"});
    EXPECT_NE(escaped.err.find("len=5\n"), std::string::npos);
}

TEST(MosaikoQr, StructuredAppendAndPlus) {
    const std::string text = "SPLIT OVER SEVERAL SYMBOLS 0123456789";
    const auto connect = RunTool(kTool, {"--version", "2", "--structure", "connect", "--count", "3", "--info", text});
    ASSERT_EQ(connect.status, 0) << connect.err;
    std::string mode;
    const auto pieces = DecodePbm(connect.out, &mode);
    EXPECT_EQ(mode, "Connect Mode (Count = 3)");
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[0] + pieces[1] + pieces[2], text);
    for (const char* key : {"len=", "count=3", "mode=connect", "parity=", "emode_r=", "masktype_r=", "capacity="})
        EXPECT_NE(connect.err.find(key), std::string::npos) << key;

    const auto plus = RunTool(kTool, {"--structure", "plus", "--count", "2", text.substr(0, 20)});
    ASSERT_EQ(plus.status, 0);
    EXPECT_EQ(DecodePbm(plus.out, &mode).size(), 2u);
    EXPECT_EQ(mode, "Plus Mode (Count = 2)");
}

TEST(MosaikoQr, SymbolThatDoesNotFitExitsOne) {
    const auto tooLong = RunTool(kTool, {std::string(30, 'x')});
    EXPECT_EQ(tooLong.status, 1);
    EXPECT_NE(tooLong.err.find("symbol 1 of 1"), std::string::npos);
    EXPECT_NE(tooLong.err.find("do not fit version 1-L"), std::string::npos);
    EXPECT_EQ(tooLong.out, "P1\n# Single Mode (Count = 1)\n29 29\n");

    const auto badByte = RunTool(kTool, {"--mode", "numeric", "12a"});
    EXPECT_EQ(badByte.status, 1);
    EXPECT_NE(badByte.err.find("numeric mode cannot encode"), std::string::npos);

    const auto second = RunTool(kTool, {"--structure", "plus", "--count", "2", std::string(18, '1') + std::string(18, 'y')});
    EXPECT_EQ(second.status, 1);
    EXPECT_NE(second.err.find("symbol 2 of 2"), std::string::npos);
    EXPECT_EQ(DecodePbm(second.out).size(), 1u);
}

TEST(MosaikoQr, UsageErrorsExitTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {"--version", "0", "x"},      {"--version", "41", "x"},  {"--version", "ten", "x"},
        {"--level", "X", "x"},        {"--mode", "kana", "x"},   {"--mask", "8", "x"},
        {"--structure", "ring", "x"}, {"--count", "0", "x"},     {"--count", "1025", "x"},
        {"--pxmag", "11", "x"},       {"--format", "gif", "x"},  {"--bogus", "x"},
        {"--level"},                  {"a", "b"},                {"--info=yes", "x"},
        {"--input", "/nonexistent/file"}, {"--angle", "90", "x"},
        {"-o", "", "x"},              {"--output=", "x"},        {"--input", ""}};
    for (const auto& args : cases) {
        std::string joined;
        for (const auto& a : args) joined += a + " ";
        std::string command = Quote(kTool);
        for (const auto& a : args) {
            command += ' ';
            command += Quote(a);
        }
        const int raw = std::system((command + " </dev/null >/dev/null 2>/dev/null").c_str());
        EXPECT_EQ(WEXITSTATUS(raw), 2) << joined;
    }
    const auto r = RunTool(kTool, {"--version", "41", "x"});
    EXPECT_NE(r.err.find("--version"), std::string::npos);
    EXPECT_NE(r.err.find("1 to 40"), std::string::npos);
    EXPECT_EQ(RunTool(kTool, {"--help"}).status, 0);
}

// PBM text loads no Qt library and needs no display; the picture formats are
// painted by mosaiko-qr-picture, found in mosaiko-qr's own folder.
TEST(MosaikoQr, PbmLoadsNoQtAndPicturesComeFromTheProgramBesideIt) {
    auto lower = [](std::string s) {
        std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
        return s;
    };
    const auto pbm = RunTool("env", {"-u", "QT_QPA_PLATFORM", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY",
                                     "LD_DEBUG=libs", kTool, "HELLO"});
    EXPECT_EQ(pbm.status, 0);
    EXPECT_EQ(DecodePbm(pbm.out), std::vector<std::string>{"HELLO"});
    EXPECT_NE(pbm.err.find("libc.so"), std::string::npos) << "LD_DEBUG gave no library list";
    EXPECT_EQ(lower(pbm.err).find("libqt"), std::string::npos) << pbm.err;

    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("mosaiko-qr-alone-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path built = fs::path(kTool).parent_path();
    for (const char* name : {"mosaiko-qr", "mosaiko-qr-picture"})
        fs::copy_file(built / name, dir / name, fs::copy_options::overwrite_existing);
    const std::string tool = (dir / "mosaiko-qr").string();
    const auto png = RunTool(tool, {"--format", "png"}, "HELLO");
    EXPECT_EQ(png.status, 0) << png.err;
    EXPECT_EQ(png.out.substr(0, 4), "\x89PNG");

    fs::remove(dir / "mosaiko-qr-picture");
    const auto alone = RunTool(tool, {"--format", "svg", "HELLO"});
    EXPECT_EQ(alone.status, 1);
    EXPECT_NE(alone.err.find("cannot run"), std::string::npos) << alone.err;
    EXPECT_EQ(RunTool(tool, {"HELLO"}).status, 0);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace mosaiko::test
