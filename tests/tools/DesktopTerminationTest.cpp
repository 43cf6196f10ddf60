// SIGTERM to the desktop program (a logout, `kill`) closes its window as the
// user would, so the settings are saved and the run ends normally.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "BackgroundRun.h"

namespace mosaiko::test {
namespace {

// The run has set its SIGTERM handler: bit 15 of the caught-signal mask.
bool CatchesTerm(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("SigCgt:", 0) == 0) return (std::stoull(line.substr(7), nullptr, 16) >> (SIGTERM - 1)) & 1;
    }
    return false;
}

TEST(DesktopTermination, SigtermClosesTheWindowAndSavesTheSettings) {
    char dir[] = "/tmp/mosaiko-term-XXXXXX";
    ASSERT_NE(::mkdtemp(dir), nullptr);
    ::setenv("XDG_CONFIG_HOME", dir, 1);
    const std::string ini = std::string(dir) + "/Mosaiko/Mosaiko.ini";
    BackgroundRun run(MOSAIKO_BIN, {});
    ASSERT_TRUE(Eventually([&] { return CatchesTerm(run.Pid()); }));
    const int status = run.Terminate();
    EXPECT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
    std::stringstream saved;
    saved << std::ifstream(ini).rdbuf();
    for (const char* key : {"x_pos=", "Version=20", "ReportTitle=", "SymbolCount=8"})
        EXPECT_NE(saved.str().find(key), std::string::npos) << key << "\n" << saved.str();
    std::system(("rm -rf '" + std::string(dir) + "'").c_str());
}

}  // namespace
}  // namespace mosaiko::test
