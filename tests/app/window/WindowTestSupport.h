// A main window wired to a temporary settings file, a scripted file dialog
// and an error box that records its messages instead of waiting for a click.
#pragma once

#include <gtest/gtest.h>

#include <QStringList>
#include <QTimer>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "MainWindow.h"

namespace mosaiko::test {

using Lines = std::vector<std::string>;

class WindowTest : public ::testing::Test {
protected:
    QString SettingsPath() const { return dir_.filePath(QStringLiteral("Mosaiko.ini")); }
    // Writes the INI file as it stands, "[General]" header included.
    void WriteSettingsText(const std::string& text) const;
    std::unique_ptr<TQRTest_main> MakeWindow();
    // The seams MakeWindow gives its window.
    MainWindowSeams Seams();

    // A file in the temporary folder holding exactly `bytes`.
    QString WriteFile(const QString& name, const std::string& bytes) const;
    // Lets the dialog choose `path` and presses "…".
    void ImportPath(TQRTest_main& window, const QString& path);
    // Writes `bytes` to a file and imports it.
    void ImportBytes(TQRTest_main& window, const std::string& bytes);

    std::optional<QString> nextChoice;  // what the dialog answers
    QStringList dialogInitialPaths;     // what each dialog was opened with
    QStringList errors;                 // messages of the error box
    QStringList errorDetails;           // their detail texts
    int errorCursorsLeft = 0;           // wait cursors still shown when the box came up
    int importSliceMs = 0;  // the next MakeWindow's: events after every line

private:
    QTemporaryDir dir_;
};

Lines MemoContents(const TQRTest_main& window);
// "1,line" ... "n,line" with CR LF: one group of n data lines.
std::string Numbered(int n);

// Runs `action` once, at the first event processing that finds the window
// holding at least `lines` lines: from inside a running import.
class AtLine {
public:
    AtLine(const TQRTest_main& window, std::size_t lines, std::function<void()> action);

private:
    QTimer timer_;
};
// The separator line, for expected contents.
std::string Sep();

}  // namespace mosaiko::test
