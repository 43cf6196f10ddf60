// The command-line conventions of the Mosaiko tools: exit codes, the usage
// message and whole-number option values.
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

}  // namespace mosaiko::cli
