// The command-line conventions of the Mosaiko tools: exit codes, the usage
// message, whole-number option values and the program version.
#pragma once

#include <string>
#include <string_view>

namespace mosaiko::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // the work could not be done
inline constexpr int kExitUsage = 2;   // a usage error

// Prints "PROGRAM: MESSAGE" and the pointer to --help to standard error;
// returns kExitUsage.
int Usage(std::string_view program, std::string_view message);

// The whole decimal number that is all of `text`; `value` is untouched otherwise.
bool ParseInt(std::string_view text, int& value);
// The same, and only from `low` to `high`.
bool ParseInt(std::string_view text, int low, int high, int& value);

// "PROGRAM VERSION", the line --version and -V print.
std::string VersionText(std::string_view program);

// True when argv[i] asks for the program version: "-V", or "--version" with
// nothing after it or another option next ("--version N" and "--version=N"
// are the symbol version).
bool AsksProgramVersion(int argc, char** argv, int i);

}  // namespace mosaiko::cli
