#include "PrintActions.h"

#include <QApplication>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <memory>
#include <optional>

#include "CheckMessages.h"
#include "CheckProgress.h"
#include "GroupAssembly.h"
#include "MainWindow.h"
#include "MessageDetails.h"
#include "RadioGroup.h"
#include "ReportForm.h"
#include "ReportJob.h"
#include "ReportRun.h"

namespace mosaiko {
namespace {

void ProcessEvents() { QCoreApplication::processEvents(); }

// The non-empty parts, in order, `separator` between them.
QString Joined(std::initializer_list<std::string> parts, const QString& separator) {
    QString text;
    for (const std::string& part : parts) {
        if (part.empty()) continue;
        if (!text.isEmpty()) text += separator;
        text += QString::fromStdString(part);
    }
    return text;
}

// The status bar's one line, and the paragraphs of the details view.
QString StatusLine(std::initializer_list<std::string> parts) { return Joined(parts, QString::fromUtf8("　")); }
QString Paragraphs(std::initializer_list<std::string> parts) { return Joined(parts, QStringLiteral("\n\n")); }

// Holds the busy guard from the start of a generation until its records
// end, so no import or check can change the groups while they are read; shows
// the groups supplied, and stops the records at the cancel button.
class GenerationGuard {
public:
    GenerationGuard(TQRTest_main& window, long long groups) : window_(window), groups_(groups) {}
    void Start() {
        guard_.emplace(window_.Busy());
        window_.CancelRequested = false;
        progress_.emplace(window_.StatusBar1, groups_);
        supplied_ = 0;
    }
    void Supplied() {
        if (progress_) progress_->Step(++supplied_);
    }
    void End() {
        progress_.reset();
        guard_.reset();
    }
    bool StopRequested() {
        cancelled_ = cancelled_ || window_.CancelRequested;
        return window_.Busy().StopRequested() || window_.CancelRequested;
    }
    bool Cancelled() const { return cancelled_; }

private:
    TQRTest_main& window_;
    long long groups_;
    long long supplied_ = 0;
    bool cancelled_ = false;
    std::optional<BusyGuard> guard_;
    std::optional<CheckProgress> progress_;
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
    bool cancelled = false;
    window_.CancelRequested = false;  // a cancel pressed before the check does not stop it
    const ReportSettings settings = window_.Settings();
    const long long groups = CountGroups(window_.Lines());
    long long done = 0;
    CheckProgress progress(window_.StatusBar1, groups);
    CheckResult result = Job().Check(settings, [&] {
        progress.Step(++done);
        ProcessEvents();
        stopped = stopped || window_.Busy().StopRequested();
        cancelled = cancelled || window_.CancelRequested;
        return !stopped && !cancelled;
    });
    ShowLastGroup(*window_.QRCode1, result.outcome, settings.version, settings.SymbolSizeItem(),
                  ChoiceOf(settings.Clamped()));
    if (stopped) return;  // the window is closing
    if (cancelled) {
        passed_ = false;
        window_.Panel4->setText(QString::fromUtf8(kVerdictStopped));
        lastFailure_ = CheckStoppedText(done, groups);
        lastDetails_ = nullptr;
        window_.StatusDetails->Show(QString::fromStdString(lastFailure_));
        window_.StatusDetails->SetAction({}, {});
        return;
    }
    passed_ = result.Passed();
    window_.Panel6->setText(QString::number(result.outcome.capacity));
    window_.Panel4->setText(QString::fromUtf8(result.Passed() ? kVerdictNormal : kVerdictAbnormal));
    lastFailure_ = result.failureText;
    ShowCheckMessage(std::move(result), settings.Clamped().level);
}

void PrintActions::ShowCheckMessage(CheckResult result, int level) {
    // The details name every group; the encoder's version and magnification
    // are the ones the failures were found at.
    const auto outcome = std::make_shared<const CheckOutcome>(std::move(result.outcome));
    const int version = symbols_.Version();
    const int magnification = symbols_.Pxmag();
    const std::string advice = result.adviceText;
    lastDetails_ = [outcome, version, magnification, level, advice] {
        return Paragraphs({FailureDetails(*outcome, version, magnification, level), OverflowDetails(*outcome), advice});
    };
    window_.StatusDetails->Show(StatusLine({lastFailure_, result.overflowText, result.adviceText}), lastDetails_);
    if (!result.best.suggest) return window_.StatusDetails->SetAction({}, {});
    window_.StatusDetails->SetAction(QStringLiteral("おすすめを適用"),
                                     [this, best = result.best.best] { ApplySetting(best); });
}

void PrintActions::ApplySetting(const PrintSetting& setting) {
    window_.TrackBar1->setValue(setting.version);
    window_.RadioGroup1->SetItemIndex(ItemOfSymbolSize(setting.symbolSize));
    window_.SpinEdit2->setValue(setting.groupsPerPage);
    window_.Button1Click();
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
        if (passed_ == false) ShowPrintStopped();
        return;
    }
    WaitCursor wait;
    GenerationGuard guard(window_, static_cast<long long>(CountGroups(window_.Lines())));
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
        if (moreData) guard.Supplied();
        if (!moreData) guard.End();
    };
    wait.Restore();
    preview_(*form, &window_);
    guard.End();
    if (guard.Cancelled()) window_.StatusDetails->Show(QString::fromUtf8(kGenerationStoppedText));
}

void PrintActions::ShowPrintStopped() {
    if (window_.Panel4->text() == QString::fromUtf8(kVerdictStopped)) return;  // its own message stays
    const QString line = QString::fromStdString(PrintStoppedText(lastFailure_));
    if (!lastDetails_) return window_.StatusDetails->Show(line);
    const auto details = lastDetails_;
    window_.StatusDetails->Show(line, [details] { return QString::fromStdString(PrintStoppedText({})) + "\n\n" + details(); });
}

std::unique_ptr<PrintActions> AttachPrintActions(TQRTest_main& window, PreviewFn preview) {
    auto actions = std::make_unique<PrintActions>(window, std::move(preview));
    PrintActions* raw = actions.get();
    window.SetButton1Handler([raw] { raw->Button1Click(); });
    window.SetButton3Handler([raw] { raw->Button3Click(); });
    return actions;
}

}  // namespace mosaiko
