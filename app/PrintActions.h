// The generation check and report printing of the main window, attached to
// its Button1 ("生成チェック") and Button3 ("帳票印刷").
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "ReportJob.h"
#include "SymbolEncoder.h"

class QString;

class QWidget;

namespace mosaiko {

class ReportJob;
class TQRTest_main;
class TQuickReport1;

// Shows the report; the default is the engine's modal preview.
using PreviewFn = std::function<void(TQuickReport1& form, QWidget* parent)>;

class PrintActions {
public:
    explicit PrintActions(TQRTest_main& window, PreviewFn preview = {});

    // Encodes every group once and shows the capacity and the verdict.
    void Button1Click();
    // Refuses a report larger than the preview holds; then checks, and on
    // "正常" lays out the report form and shows it.
    void Button3Click();

private:
    ReportJob Job();
    void RunCheck();
    // The check's line in the status bar, every group behind "詳細", and the
    // most readable setting offered as "おすすめを適用".
    void ShowCheckMessage(CheckResult result, int level);
    // Sets the version, symbol size and groups per page, and checks again.
    void ApplySetting(const PrintSetting& setting);
    void ShowPrintStopped();
    // False, after saying so, when the report has more pages than the preview holds.
    bool PreviewHoldsTheReport();

    TQRTest_main& window_;
    PreviewFn preview_;
    std::optional<bool> passed_;  // the verdict of the last check, as Panel4 shows it
    std::string lastFailure_;     // why the last check failed, for a stopped print
    std::function<QString()> lastDetails_;  // the whole text of the last check's message
    // Encodes the groups of every check and report, from the window's start
    // on: the capacity shown follows the last symbol it made.
    SymbolEncoder symbols_;
};

// Creates the actions and sets them as the window's button handlers.
std::unique_ptr<PrintActions> AttachPrintActions(TQRTest_main& window, PreviewFn preview = {});

}  // namespace mosaiko
