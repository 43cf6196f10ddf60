// mosaiko-qr's default output read by an independent reader: netpbm splits it
// into its images and converts each to PNG, and zxing decodes every one.
// --format pbm-text is the control's PBM text unchanged.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>

#include "QrDecodeQt.h"
#include "QrDriver.h"
#include "RunTool.h"

namespace mosaiko::test {
namespace {

namespace fs = std::filesystem;
const std::string kTool = MOSAIKO_QR_BIN;

struct Case {
    std::initializer_list<std::string> args;
    int version, structure, count, pxmag;
    std::string text;  // what the images, decoded in turn, spell
};

const std::string kText = "SPLIT OVER SEVERAL SYMBOLS 0123456789";
const Case kCases[] = {
    {{}, 1, 0, 1, 1, "HELLO"},
    {{"--version", "2", "--structure", "connect", "--count", "3"}, 2, 1, 3, 1, kText},
    {{"--structure", "plus", "--count", "2", "--pxmag", "2"}, 1, 2, 2, 2, "PLUS ONE PLUS TWO"},
};

// The control's PBM text for the same settings, one line each.
std::string ControlPbmText(const Case& c) {
    QrDriver driver;
    driver.Encoder().SetVersion(c.version);
    driver.Encoder().SetEclevel(0);  // mosaiko-qr's default, L
    driver.SetPxmag(c.pxmag);
    driver.Encoder().SetMode(c.structure);
    driver.Encoder().SetCount(c.count);
    driver.SetCode(c.text);
    driver.SplitData();
    SettingsError error;
    EXPECT_TRUE(driver.CheckSettings(error));  // sets the structured-append parity
    std::string text;
    for (const std::string& line : driver.GetPBM()) {
        text += line;
        text += '\n';
    }
    return text;
}

// The command line of mosaiko-qr for the case, `format` added when given.
std::string Command(const Case& c, const std::string& format = "") {
    std::string command = Quote(kTool);
    for (const std::string& a : c.args) {
        command += ' ';
        command += Quote(a);
    }
    if (!format.empty()) command += " --format " + format;
    command += ' ';
    return command + Quote(c.text);
}

TEST(MosaikoQrPbm, NetpbmReadsEveryImageOfTheDefaultOutput) {
    if (std::system("command -v pamsplit pnmtopng >/dev/null 2>&1") != 0) GTEST_SKIP() << "netpbm is not installed";
    const fs::path dir = fs::temp_directory_path() / ("mosaiko-qr-pbm-" + std::to_string(::getpid()));
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text);
        fs::remove_all(dir);
        fs::create_directories(dir);
        const std::string split = Command(c) + " | pamsplit - " + Quote((dir / "image%d.pbm").string());
        ASSERT_EQ(std::system(split.c_str()), 0);
        std::vector<std::string> decoded;
        for (std::size_t i = 0; fs::exists(dir / ("image" + std::to_string(i) + ".pbm")); ++i) {
            const fs::path image = dir / ("image" + std::to_string(i) + ".pbm");
            const fs::path png = dir / ("image" + std::to_string(i) + ".png");
            ASSERT_EQ(std::system(("pnmtopng " + Quote(image.string()) + " > " + Quote(png.string())).c_str()), 0);
            const QImage read(QString::fromStdString(png.string()));
            const int width = (17 + 4 * c.version + 8) * c.pxmag;
            EXPECT_EQ(read.size(), QSize(width, width));
            const auto d = DecodeImage(read);
            decoded.push_back(d ? d->bytes : "<unreadable>");
        }
        EXPECT_EQ(decoded.size(), static_cast<std::size_t>(c.count));
        std::string joined;
        for (const std::string& piece : decoded) joined += piece;
        EXPECT_EQ(joined, c.text);

        const fs::path text = dir / "text.pbm";
        ASSERT_EQ(std::system((Command(c, "pbm-text") + " > " + Quote(text.string())).c_str()), 0);
        EXPECT_EQ(ReadFile(text), ControlPbmText(c));
    }
    fs::remove_all(dir);
}

}  // namespace
}  // namespace mosaiko::test
