#include "MainWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolButton>

#include "ClientArea.h"
#include "ExceptionHandler.h"
#include "FileDrop.h"
#include "FileImport.h"
#include "KeyboardNavigation.h"
#include "MainSettings.h"
#include "MemoView.h"
#include "Panels.h"
#include "QRCode3.h"
#include "RadioGroup.h"
#include "ShiftJis.h"

namespace mosaiko {
namespace {

// On first use (no path yet) the dialog starts in the user's home folder.
std::optional<QString> ChooseFileWithDialog(QWidget* parent, const QString& initialPath) {
    const QString path = QFileDialog::getOpenFileName(
        parent, QString(), initialPath.isEmpty() ? QDir::homePath() : initialPath,
        QStringLiteral("テキストデータ (*.csv *.txt);;すべてのファイル (*)"), nullptr, QFileDialog::HideNameFilterDetails);
    if (path.isEmpty()) return std::nullopt;
    return path;
}

void ShowErrorBox(QWidget* parent, const QString& message, const QString& detail) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Mosaiko"), message, QMessageBox::Ok, parent);
    box.setInformativeText(detail);
    box.exec();
}

// What the status bar says after an import that did not fail.
QString ImportNotice(const ImportResult& result, const QString& path) {
    QStringList parts;
    if (result.encoding != TextEncoding::ShiftJis)
        parts << QStringLiteral("%1 として読み込みました").arg(QLatin1String(EncodingName(result.encoding)));
    if (const std::string none = NoDataLinesWarning(result); !none.empty())
        parts << QFileInfo(path).fileName() + QStringLiteral(": ") + QString::fromStdString(none);
    if (const std::string cut = CutLinesWarning(result); !cut.empty()) parts << QString::fromStdString(cut);
    if (const std::string leftOut = LeftOutLinesWarning(result); !leftOut.empty())
        parts << QString::fromStdString(leftOut);
    if (result.outcome == ImportOutcome::Cancelled)
        parts << QStringLiteral("読み込みを中止しました（%1 行を残しました）").arg(result.lineCount);
    return parts.join(QStringLiteral("。"));
}

}  // namespace

MainWindowSeams DefaultSeams() {
    return MainWindowSeams{[] { return SettingsStore::OpenUser(); }, &ChooseFileWithDialog, &ShowErrorBox};
}

TQRTest_main::TQRTest_main(MainWindowSeams seams, QWidget* parent) : QWidget(parent), seams_(std::move(seams)) {
    const MainWindowSeams defaults = DefaultSeams();
    if (!seams_.openSettings) seams_.openSettings = defaults.openSettings;
    if (!seams_.chooseFile) seams_.chooseFile = defaults.chooseFile;
    if (!seams_.showError) seams_.showError = defaults.showError;

    setObjectName(QStringLiteral("QRTest_main"));
    setWindowTitle(QStringLiteral("Mosaiko"));
    setFont(UiFont(13));
    ArrangeMainWindow(*this, *this);
    SetUpKeyboard(*this, *this);
    new FileDrop(*this);
    ConnectHandlers();
    busy_.SetListener([this](bool busy) { BusyChanged(busy); });
    FormCreate();
}

TQRTest_main::~TQRTest_main() = default;

void TQRTest_main::ConnectHandlers() {
    connect(TrackBar1, &QSlider::valueChanged, this, [this] { TrackBar1Change(); });
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { SpeedButton2Click(); });
    connect(SpeedButton3, &QToolButton::clicked, this, [this] { SpeedButton3Click(); });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
}

void TQRTest_main::FormCreate() {
    CancelRequested = false;
    // Any failure ends the load quietly; the controls after it keep their
    // design values.
    try {
        const std::unique_ptr<SettingsStore> store = seams_.openSettings();
        loadedSettings_ = LoadMainSettings(*store, *this, *this);
    } catch (const std::exception&) {
    }
}

void TQRTest_main::FormShow() {
    if (QRCode1) QRCode1->ClearSymbol();
    Memo1->setFocus();
}

void TQRTest_main::FormClose() {
    CancelRequested = true;
    busy_.RequestStop();
    // A failure to write goes to the application's standard error report.
    try {
        const std::unique_ptr<SettingsStore> store = seams_.openSettings();
        SaveMainSettings(*store, *this, *this, loadedSettings_);
    } catch (const std::exception& error) {
        HandleException(error);
    }
}

void TQRTest_main::TrackBar1Change() { Panel13->setText(QString::number(TrackBar1->value())); }

void TQRTest_main::SpeedButton1Click() {
    ImportWith([this] { return seams_.chooseFile(this, FilePath->text()); });
}

void TQRTest_main::ImportPath(const QString& path) {
    ImportWith([&path] { return std::optional<QString>(path); });
}

void TQRTest_main::ImportWith(const std::function<std::optional<QString>()>& choose) {
    if (busy_.Busy()) return;  // no second import from inside a running loop
    WaitCursor wait;
    if (const std::optional<QString> path = choose()) ImportChosenFile(*path, wait);
    wait.Restore();
    CancelRequested = false;
}

void TQRTest_main::ImportChosenFile(const QString& path, WaitCursor& wait) {
    BusyGuard guard(busy_);
    // A cancel pressed while no import ran must not stop this one.
    CancelRequested = false;
    FilePath->setText(path);
    StatusBar1->clearMessage();
    Memo1->Clear();
    LineCount = 0;
    // Called before every line: after the first line, and then once a time
    // slice has passed, show the new lines and let the window work (repaint,
    // the cancel button, closing). Processing per line cost most of the import.
    std::size_t calls = 0;
    QElapsedTimer slice;
    const auto keepGoing = [this, &calls, &slice] {
        if (++calls == 2 || (calls > 2 && slice.elapsed() >= seams_.importSliceMs)) {
            Memo1->LinesAdded();
            QCoreApplication::processEvents();
            slice.start();
        }
        return !CancelRequested;
    };
    const ImportResult result = ImportFile(path, Memo1->Lines(), keepGoing, EncodingChoice::Auto, Settings().csv);
    LineCount = static_cast<std::int32_t>(result.lineCount);
    Memo1->Refresh();
    const std::string_view message = ImportMessage(result.outcome);
    if (!message.empty()) {
        wait.Restore();
        ShowError(DecodeShiftJis(message), QString::fromStdString(result.detail));
        return;
    }
    StatusBar1->showMessage(ImportNotice(result, path));
    Panel5->setText(QString::number(result.lineCount));
    Panel16->setText(QString::number(result.groupCount));
}

void TQRTest_main::SpeedButton2Click() { CancelRequested = true; }

void TQRTest_main::SpeedButton3Click() {
    if (busy_.Busy()) return;
    Memo1->Clear();
    Panel16->clear();
    Panel5->clear();
}

void TQRTest_main::Button1Click() {
    if (!busy_.Busy() && button1Handler_) button1Handler_();
}

void TQRTest_main::Button3Click() {
    if (!busy_.Busy() && button3Handler_) button3Handler_();
}

void TQRTest_main::BusyChanged(bool busy) {
    // A disabled button hands the focus on along the tab chain, and a line
    // edit reached that way selects its text, so the next keystroke would
    // replace it. The window holds the focus for the loop instead, and gives
    // it back afterwards.
    if (busy) {
        focusBeforeBusy_ = focusWidget();
        if (focusBeforeBusy_) setFocus(Qt::OtherFocusReason);
    }
    for (QWidget* button : {static_cast<QWidget*>(SpeedButton1), static_cast<QWidget*>(SpeedButton3),
                            static_cast<QWidget*>(Button1), static_cast<QWidget*>(Button3)})
        button->setEnabled(!busy);
    // Unless the user has put the focus elsewhere meanwhile.
    const bool untouched = focusWidget() == nullptr || focusWidget() == this;
    if (!busy && untouched && focusBeforeBusy_ && focusBeforeBusy_->isEnabled() && focusBeforeBusy_->isVisible())
        focusBeforeBusy_->setFocus(Qt::OtherFocusReason);
    if (!busy) focusBeforeBusy_ = nullptr;
}

void TQRTest_main::ShowError(const QString& message, const QString& detail) { seams_.showError(this, message, detail); }

const MemoLines& TQRTest_main::Lines() const { return Memo1->Lines(); }

ReportSettings TQRTest_main::Settings() const {
    ReportSettings s;
    s.version = TrackBar1->value();
    s.symbolSize = SymbolSizeOfItem(RadioGroup1->ItemIndex());
    s.title = Edit5->text().toStdString();
    s.groupsPerPage = SpinEdit2->value();
    s.fontSize = SpinEdit1->value();
    s.level = ComboBox1->currentIndex();
    s.optimal = CheckBox1->isChecked();
    s.csv = CheckBox2->isChecked();
    return s;
}

void TQRTest_main::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TQRTest_main::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

}  // namespace mosaiko
