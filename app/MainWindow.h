// TQRTest_main: the main window. It creates its controls, restores and saves
// the settings, and runs the file import; the generation check and report
// printing attach through the Button1 and Button3 handlers.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "BusyGuard.h"
#include "MainControls.h"
#include "MainSettings.h"
#include "MemoLines.h"
#include "ReportSettings.h"
#include "SettingsStore.h"

namespace mosaiko {

// What the window asks of the world outside; tests replace them.
struct MainWindowSeams {
    SettingsOpener openSettings;
    // The file-open dialog (OpenDialog1): the chosen path, or nothing when the
    // user cancels. `initialPath` is the last path, or empty.
    std::function<std::optional<QString>(QWidget* parent, const QString& initialPath)> chooseFile;
    // A modal message box with an error icon and an OK button; `detail`, when
    // not empty, is shown under the message.
    std::function<void(QWidget* parent, const QString& message, const QString& detail)> showError;
    // How long the import reads lines between two rounds of event processing
    // (there is always one after the first line); 0 processes after every line.
    int importSliceMs = 15;
};

// The user's settings store, the real dialog and the real message box.
MainWindowSeams DefaultSeams();

class TQRTest_main : public QWidget, public MainControls {
    Q_OBJECT

public:
    explicit TQRTest_main(MainWindowSeams seams = DefaultSeams(), QWidget* parent = nullptr);
    ~TQRTest_main() override;

    // Data lines accepted by the last import; the clear button keeps it.
    std::int32_t LineCount = 0;
    // Set by the cancel button and by closing; stops the import loop.
    bool CancelRequested = false;

    void FormCreate();
    void FormShow();
    void FormClose();
    void TrackBar1Change();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    // Imports `path` as "…" does with the file chosen in its dialog (a file
    // dropped on the window comes this way).
    void ImportPath(const QString& path);
    // Run the handlers set below, unless a long loop is running.
    void Button1Click();
    void Button3Click();

    // The generation check and report printing plug in here.
    void SetButton1Handler(std::function<void()> handler) { button1Handler_ = std::move(handler); }
    void SetButton3Handler(std::function<void()> handler) { button3Handler_ = std::move(handler); }

    // Held by every long loop (import, check, report data): while it is held
    // the import, check, print and clear buttons are disabled, and closing
    // the window asks the loop to stop (Busy().StopRequested()).
    BusyState& Busy() { return busy_; }

    // The imported lines, Shift-JIS bytes with separator lines between groups.
    const MemoLines& Lines() const;
    // The window's error box (MainWindowSeams::showError).
    void ShowError(const QString& message, const QString& detail = QString());

    // The settings as the check and the report read them: TrackBar1,
    // RadioGroup1, Edit5, SpinEdit2 and SpinEdit1 as they are now.
    ReportSettings Settings() const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ConnectHandlers();
    // The import of "…" and of a drop: the path `choose` gives, if any.
    void ImportWith(const std::function<std::optional<QString>()>& choose);
    void ImportChosenFile(const QString& path, WaitCursor& wait);
    void BusyChanged(bool busy);

    MainWindowSeams seams_;
    LoadedSettings loadedSettings_;  // what FormCreate read, for FormClose
    BusyState busy_;
    // The control that had the focus when the long loop began.
    QPointer<QWidget> focusBeforeBusy_;
    std::function<void()> button1Handler_;
    std::function<void()> button3Handler_;
};

}  // namespace mosaiko
