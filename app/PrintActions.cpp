#include "PrintActions.h"

#include <QApplication>
#include <QLabel>
#include <QStatusBar>
#include <optional>

#include "CheckMessages.h"
#include "GenerationCheck.h"
#include "GroupAssembly.h"
#include "PrintAdvice.h"
#include "QRCode3.h"
#include "QRSample_main.h"
#include "QR_QR.h"
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

void PrintActions::RunCheck() {
    if (window_.LineCount <= 0) return;
    BusyGuard busy(window_.Busy());
    bool stopped = false;
    const RowTextFit rows(window_.ReportFontSize(), window_.GroupsPerPage());
    const int version = window_.SymbolVersion();
    const int sizeIndex = window_.PixelMagnification() - 1;
    const CheckOutcome outcome = RunGenerationCheck(
        window_.Lines(), symbols_, version, sizeIndex,
        [&] {
            ProcessEvents();
            stopped = stopped || window_.Busy().StopRequested();
            return !stopped;
        },
        &rows);
    ShowLastGroup(*window_.QRCode1, outcome, version, sizeIndex);
    if (stopped) return;  // the window is closing
    window_.Panel6->setText(QString::number(outcome.capacity));
    window_.Panel4->setText(QString::fromUtf8(outcome.Passed() ? kVerdictNormal : kVerdictAbnormal));
    const ModuleAdvice advice = AdviseModule(window_.SymbolVersion(), window_.PixelMagnification(),
                                             window_.GroupsPerPage(), ImageSideFor);
    lastFailure_ = FailureText(outcome, symbols_.Version(), symbols_.Pxmag());
    window_.StatusBar1->showMessage(StatusLine({lastFailure_, OverflowText(outcome), AdviceText(advice)}));
}

void PrintActions::Button1Click() {
    WaitCursor wait;
    RunCheck();
}

bool PrintActions::PreviewHoldsTheReport() {
    const long long groups = static_cast<long long>(CountGroups(window_.Lines()));
    const long long pages = ReportPagesFor(groups, window_.GroupsPerPage());
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
    if (window_.Panel4->text() != QString::fromUtf8(kVerdictNormal)) {
        if (window_.Panel4->text() == QString::fromUtf8(kVerdictAbnormal))
            window_.StatusBar1->showMessage(QString::fromStdString(PrintStoppedText(lastFailure_)));
        return;
    }
    WaitCursor wait;
    GenerationGuard guard(window_.Busy());
    ReportSource source{&window_.Lines(), &symbols_, [this] { return window_.SymbolVersion(); },
                        [this] { return window_.PixelMagnification() - 1; },
                        [this] { return window_.ReportTitle(); }, ProcessEvents};
    auto form = std::make_unique<TQuickReport1>(std::move(source));
    form->LastLine = static_cast<int>(window_.Lines().Count()) - 1;
    form->Arrange(window_.ReportFontSize(), window_.GroupsPerPage());
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
