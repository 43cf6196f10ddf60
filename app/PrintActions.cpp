#include "PrintActions.h"

#include <QApplication>
#include <QLabel>
#include <QStatusBar>
#include <optional>

#include "CheckMessages.h"
#include "GroupAssembly.h"
#include "MainWindow.h"
#include "ReportForm.h"
#include "ReportJob.h"
#include "ReportRun.h"

namespace mosaiko {
namespace {

void ProcessEvents() { QCoreApplication::processEvents(); }

// The status bar's one line: the non-empty parts, in order.
QString StatusLine(std::initializer_list<std::string> parts) {
    QString line;
    for (const std::string& part : parts) {
        if (part.empty()) continue;
        if (!line.isEmpty()) line += QString::fromUtf8("　");
        line += QString::fromStdString(part);
    }
    return line;
}

// Holds the busy guard from the start of a generation until its records
// end, so no import or check can change the groups while they are read.
class GenerationGuard {
public:
    explicit GenerationGuard(BusyState& busy) : busy_(busy) {}
    void Start() { guard_.emplace(busy_); }
    void End() { guard_.reset(); }
    bool StopRequested() const { return busy_.StopRequested(); }

private:
    BusyState& busy_;
    std::optional<BusyGuard> guard_;
};

}  // namespace

PrintActions::PrintActions(TQRTest_main& window, PreviewFn preview) : window_(window), preview_(std::move(preview)) {
    if (!preview_) preview_ = [](TQuickReport1& form, QWidget* parent) { form.Preview(parent); };
}

ReportJob PrintActions::Job() { return ReportJob(window_.Lines(), symbols_); }

void PrintActions::RunCheck() {
    if (window_.LineCount <= 0) return;
    BusyGuard busy(window_.Busy());
    bool stopped = false;
    const ReportSettings settings = window_.Settings();
    const CheckResult result = Job().Check(settings, [&] {
        ProcessEvents();
        stopped = stopped || window_.Busy().StopRequested();
        return !stopped;
    });
    ShowLastGroup(*window_.QRCode1, result.outcome, settings.version, settings.SymbolSizeItem(),
                  ChoiceOf(settings.Clamped()));
    if (stopped) return;  // the window is closing
    passed_ = result.Passed();
    window_.Panel6->setText(QString::number(result.outcome.capacity));
    window_.Panel4->setText(QString::fromUtf8(result.Passed() ? kVerdictNormal : kVerdictAbnormal));
    lastFailure_ = result.failureText;
    window_.StatusBar1->showMessage(StatusLine({lastFailure_, result.overflowText, AdviceText(result.advice)}));
}

void PrintActions::Button1Click() {
    WaitCursor wait;
    RunCheck();
}

bool PrintActions::PreviewHoldsTheReport() {
    const long long groups = static_cast<long long>(CountGroups(window_.Lines()));
    const long long pages = ReportPagesFor(groups, window_.Settings().groupsPerPage);
    if (pages <= ReportRun::kMaxPreviewPages) return true;
    window_.ShowError(
        QStringLiteral("プレビューできるのは %1 ページまでです。%2 グループは %3 ページになります。")
            .arg(ReportRun::kMaxPreviewPages)
            .arg(groups)
            .arg(pages),
        QStringLiteral("頁内グループ数を増やすか、mosaiko-report で PDF ファイルに書き出してください。"));
    return false;
}

void PrintActions::Button3Click() {
    // Said before the check, which would take long over so many groups.
    if (!PreviewHoldsTheReport()) return;
    Button1Click();
    ProcessEvents();
    // The check just run decides; without one (nothing imported) the last verdict does.
    if (passed_ != true) {
        if (passed_ == false) window_.StatusBar1->showMessage(QString::fromStdString(PrintStoppedText(lastFailure_)));
        return;
    }
    WaitCursor wait;
    GenerationGuard guard(window_.Busy());
    const std::unique_ptr<TQuickReport1> form =
        Job().Form(window_.Settings(), [this] { return window_.Settings(); }, ProcessEvents);
    // Each generation (the preview, then every print from it) holds the guard
    // while it reads the groups.
    auto beforePrint = form->BeforePrint;
    auto needData = form->OnNeedData;
    form->BeforePrint = [&guard, beforePrint](bool& printIt) {
        guard.Start();
        beforePrint(printIt);
    };
    form->OnNeedData = [&guard, needData](bool& moreData) {
        moreData = false;
        if (!guard.StopRequested()) needData(moreData);
        if (!moreData) guard.End();
    };
    wait.Restore();
    preview_(*form, &window_);
    guard.End();
}

std::unique_ptr<PrintActions> AttachPrintActions(TQRTest_main& window, PreviewFn preview) {
    auto actions = std::make_unique<PrintActions>(window, std::move(preview));
    PrintActions* raw = actions.get();
    window.SetButton1Handler([raw] { raw->Button1Click(); });
    window.SetButton3Handler([raw] { raw->Button3Click(); });
    return actions;
}

}  // namespace mosaiko
