#include "CliCommon.h"

#include <charconv>
#include <iostream>

namespace mosaiko::cli {

int Usage(std::string_view program, std::string_view message) {
    std::cerr << program << ": " << message << "\nTry '" << program << " --help'.\n";
    return kExitUsage;
}

bool ParseInt(std::string_view text, int& value) {
    int v = 0;
    const char* end = text.data() + text.size();
    const auto [p, ec] = std::from_chars(text.data(), end, v);
    if (ec != std::errc() || p != end || text.empty()) return false;
    value = v;
    return true;
}

bool ParseInt(std::string_view text, int low, int high, int& value) {
    int v = 0;
    if (!ParseInt(text, v) || v < low || v > high) return false;
    value = v;
    return true;
}

std::string VersionText(std::string_view program) { return std::string(program) + " " + MOSAIKO_VERSION; }

bool AsksProgramVersion(int argc, char** argv, int i) {
    const std::string_view arg = argv[i];
    if (arg == "-V") return true;
    if (arg != "--version") return false;
    if (i + 1 >= argc) return true;
    // A value never starts with "-" ("-" alone is standard output, a name).
    const std::string_view next = argv[i + 1];
    return next.size() > 1 && next[0] == '-';
}

}  // namespace mosaiko::cli
