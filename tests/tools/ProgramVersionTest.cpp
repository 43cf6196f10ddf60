// --version alone and -V print the program's version; --version N and
// --version=N stay the QR symbol version, in both command-line programs.
#include <gtest/gtest.h>

#include "RunTool.h"

namespace mosaiko::test {
namespace {

TEST(ProgramVersion, AloneOrBeforeAnOptionElseTheSymbolVersion) {
    const std::string qr = MOSAIKO_QR_BIN, report = MOSAIKO_REPORT_BIN, sample = MOSAIKO_SAMPLE_CSV;
    const std::string qrVersion = std::string("mosaiko-qr ") + MOSAIKO_VERSION + "\n";
    const std::string reportVersion = std::string("mosaiko-report ") + MOSAIKO_VERSION + "\n";
    struct Case {
        std::string program;
        std::initializer_list<std::string> args;
        int status;
        std::string out;  // the whole standard output, or a part of it after "..."
    };
    const Case cases[] = {
        {qr, {"--version"}, 0, qrVersion},
        {qr, {"-V"}, 0, qrVersion},
        {qr, {"--version", "--level", "M", "HI"}, 0, qrVersion},
        {qr, {"--version", "3", "HI"}, 0, "...\n37 37\n"},  // (29 + 8) modules for version 3
        {qr, {"--version=3", "HI"}, 0, "...\n37 37\n"},
        {qr, {"--version", "41", "HI"}, 2, ""},
        {qr, {"--help"}, 0, "...--version, -V"},
        {report, {"--version"}, 0, reportVersion},
        {report, {"-V"}, 0, reportVersion},
        {report, {sample, "--version", "-o", "x.pdf"}, 0, reportVersion},
        {report, {sample, "-o", "x.pdf", "--version", "41"}, 2, ""},
        {report, {sample, "-o", "x.pdf", "--version=41"}, 2, ""},
        {report, {"--help"}, 0, "...--version, -V"},
    };
    for (const Case& c : cases) {
        std::string joined = c.program;
        for (const std::string& a : c.args) joined += " " + a;
        SCOPED_TRACE(joined);
        const ToolResult r = RunTool(c.program, c.args);
        EXPECT_EQ(r.status, c.status) << r.err;
        if (c.out.rfind("...", 0) == 0) {
            EXPECT_NE(r.out.find(c.out.substr(3)), std::string::npos) << r.out;
        } else {
            EXPECT_EQ(r.out, c.out);
        }
        if (c.status == 2) {
            EXPECT_NE(r.err.find("--version"), std::string::npos) << r.err;
        }
    }
}

}  // namespace
}  // namespace mosaiko::test
