// One report job, as the main window and mosaiko-report both run it: the
// generation check of the imported groups at the chosen settings, the advice
// on the printed module size, and the report form laid out for printing.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "BestSetting.h"
#include "GenerationCheck.h"
#include "PrintAdvice.h"
#include "ReportSettings.h"
#include "SymbolEncoder.h"

namespace mosaiko {

class MemoLines;
class TQuickReport1;

// What one check run found, with what the user is told about it (UTF-8).
struct CheckResult {
    CheckOutcome outcome;
    ModuleAdvice advice;
    BestSetting best;          // the most readable setting for these groups
    std::string adviceText;    // the module, its readers and the suggestion
    std::string failureText;   // which groups failed and why; empty when all passed
    std::string overflowText;  // groups whose text is cut in their row; empty when none
    bool Passed() const { return outcome.Passed(); }
};

// The level and segmentation of the settings, as the encoding takes them.
EncodeChoice ChoiceOf(const ReportSettings& settings);

class ReportJob {
public:
    // `memo` and `symbols` must outlive the job and every form it makes.
    // `symbols` encodes every group of the check and of the report.
    ReportJob(const MemoLines& memo, SymbolEncoder& symbols);

    // Encodes every group once at `settings`. `step` runs once per group
    // (pending events); when it answers false the check stops there.
    CheckResult Check(const ReportSettings& settings, const std::function<bool()>& step = {}) const;

    // The report form, laid out at `settings`. Every generation of it reads
    // the version, symbol size and title from `current` when given (the
    // window's controls at that moment), else from `settings`.
    // `processEvents` runs once per group supplied.
    std::unique_ptr<TQuickReport1> Form(const ReportSettings& settings,
                                        std::function<ReportSettings()> current = {},
                                        std::function<void()> processEvents = {}) const;

private:
    CheckOutcome RunCheck(const ReportSettings& settings, const std::function<bool()>& step,
                          DataNeed& need) const;

    const MemoLines& memo_;
    SymbolEncoder& symbols_;
};

}  // namespace mosaiko
