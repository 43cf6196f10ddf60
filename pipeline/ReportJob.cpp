#include "ReportJob.h"

#include <QString>

#include "CheckMessages.h"
#include "MemoLines.h"
#include "ReportForm.h"
#include "ShiftJis.h"

namespace mosaiko {

EncodeChoice ChoiceOf(const ReportSettings& s) { return EncodeChoice{s.level, s.optimal}; }

ReportJob::ReportJob(const MemoLines& memo, SymbolEncoder& symbols) : memo_(memo), symbols_(symbols) {}

// The one place where the job encodes the groups for the check.
CheckOutcome ReportJob::RunCheck(const ReportSettings& s, const std::function<bool()>& step,
                                 DataNeed& need) const {
    const RowTextFit rows(s.fontSize, s.groupsPerPage);
    return RunGenerationCheck(memo_, symbols_, s.version, s.SymbolSizeItem(), step, &rows, ChoiceOf(s), &need);
}

CheckResult ReportJob::Check(const ReportSettings& settings, const std::function<bool()>& step) const {
    const ReportSettings s = settings.Clamped();
    CheckResult result;
    DataNeed need(s.level, s.optimal);
    result.outcome = RunCheck(s, step, need);
    result.advice = AdviseModule(s.version, s.symbolSize, s.groupsPerPage, ImageSideFor);
    result.best = FindBestSetting(need, {s.version, s.symbolSize, s.groupsPerPage, 0}, ImageSideFor);
    result.adviceText = CheckAdviceText(result.advice, result.best);
    result.failureText = FailureText(result.outcome, symbols_.Version(), symbols_.Pxmag(), s.level);
    result.overflowText = OverflowText(result.outcome);
    return result;
}

std::unique_ptr<TQuickReport1> ReportJob::Form(const ReportSettings& settings, std::function<ReportSettings()> current,
                                               std::function<void()> processEvents) const {
    const ReportSettings s = settings.Clamped();
    if (!current) current = [s] { return s; };
    ReportSource source{&memo_, &symbols_, [current] { return current().Clamped().version; },
                        [current] { return current().Clamped().SymbolSizeItem(); },
                        [current] { return EncodeShiftJis(QString::fromUtf8(current().title)); },
                        std::move(processEvents)};
    auto form = std::make_unique<TQuickReport1>(std::move(source));
    form->Choice = [current] { return ChoiceOf(current().Clamped()); };
    form->LastLine = static_cast<int>(memo_.Count()) - 1;
    form->Arrange(s.fontSize, s.groupsPerPage);
    return form;
}

}  // namespace mosaiko
