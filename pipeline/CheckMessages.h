// What the generation check tells the user beyond its verdict: which groups
// failed and why, and which groups' text is cut in their row (UTF-8, for the
// status bar and mosaiko-report's standard error).
#pragma once

#include <string>

#include "GenerationCheck.h"

namespace mosaiko {

// Groups named one by one; the rest are counted.
inline constexpr int kNamedGroups = 3;

// Empty when every group passed. A level other than L is named with the version.
std::string FailureText(const CheckOutcome& outcome, int version, int magnification, int eclevel = 0);
// Empty when every group's text fits its row.
std::string OverflowText(const CheckOutcome& outcome);
// The same with every group named, one a line (for the details view).
std::string FailureDetails(const CheckOutcome& outcome, int version, int magnification, int eclevel = 0);
std::string OverflowDetails(const CheckOutcome& outcome);
// The verdict of a check stopped by the cancel button, and what it says.
inline constexpr char kVerdictStopped[] = "中止";
std::string CheckStoppedText(long long done, long long groups);
inline constexpr char kGenerationStoppedText[] = "帳票の生成を中止しました";
// Report printing stopped by a failed check.
std::string PrintStoppedText(const std::string& failureText);

}  // namespace mosaiko
