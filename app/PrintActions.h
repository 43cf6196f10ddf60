// The generation check and report printing of the main window, attached to
// its Button1 ("生成チェック") and Button3 ("帳票印刷").
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "SymbolEncoder.h"

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
    // False, after saying so, when the report has more pages than the preview holds.
    bool PreviewHoldsTheReport();

    TQRTest_main& window_;
    PreviewFn preview_;
    std::optional<bool> passed_;  // the verdict of the last check, as Panel4 shows it
    std::string lastFailure_;     // why the last check failed, for a stopped print
    // Encodes the groups of every check and report, from the window's start
    // on: the capacity shown follows the last symbol it made.
    SymbolEncoder symbols_;
};

// Creates the actions and sets them as the window's button handlers.
std::unique_ptr<PrintActions> AttachPrintActions(TQRTest_main& window, PreviewFn preview = {});

}  // namespace mosaiko
