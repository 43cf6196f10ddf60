// The long loops and the window around them: buttons that would start a
// second loop are disabled, the wait cursor shows, cancel stays live, and
// closing the window stops the loop and still saves the settings.
#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QTimer>
#include <QToolButton>

#include "WindowTestSupport.h"

namespace mosaiko::test {
namespace {

struct Buttons {
    bool import, clear, cancel, check, print;
};

Buttons Enabled(const TQRTest_main& w) {
    return {w.SpeedButton1->isEnabled(), w.SpeedButton3->isEnabled(), w.SpeedButton2->isEnabled(),
            w.Button1->isEnabled(), w.Button3->isEnabled()};
}

using LoopTest = WindowTest;

TEST_F(LoopTest, ImportDisablesWhatWouldStartAnotherLoop) {
    auto window = MakeWindow();
    int checks = 0;
    window->SetButton1Handler([&] { ++checks; });
    Buttons during{};
    bool waitCursor = false;
    AtLine probe(*window, 50, [&] {
        during = Enabled(*window);
        waitCursor = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        window->SpeedButton1Click();  // a second import from inside the first
        window->Button1Click();
        window->SpeedButton3Click();
    });
    ImportBytes(*window, Numbered(500));
    EXPECT_FALSE(during.import);
    EXPECT_FALSE(during.clear);
    EXPECT_FALSE(during.check);
    EXPECT_FALSE(during.print);
    EXPECT_TRUE(during.cancel);
    EXPECT_TRUE(waitCursor);
    EXPECT_EQ(dialogInitialPaths.size(), 1);
    EXPECT_EQ(checks, 0);
    EXPECT_EQ(window->Lines().Count(), 500u);  // clear was refused as well

    const Buttons after = Enabled(*window);
    EXPECT_TRUE(after.import && after.clear && after.cancel && after.check && after.print);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    window->Button1Click();
    EXPECT_EQ(checks, 1);
}

TEST_F(LoopTest, ClosingDuringAnImportStopsItAndSavesTheSettings) {
    auto window = MakeWindow();
    window->show();
    window->TrackBar1->setValue(9);
    AtLine closer(*window, 200, [&] { window->close(); });
    const QString path = WriteFile(QStringLiteral("long.csv"), Numbered(20000));
    ImportPath(*window, path);
    EXPECT_FALSE(window->isVisible());
    EXPECT_LT(window->Lines().Count(), 20000u);
    EXPECT_EQ(window->Panel5->text(), QString::number(window->Lines().Count()));
    EXPECT_FALSE(window->CancelRequested);
    EXPECT_FALSE(window->Busy().Busy());
    EXPECT_FALSE(window->Busy().StopRequested());
    QSettings saved(SettingsPath(), QSettings::IniFormat);
    EXPECT_EQ(saved.value("FilePath").toString(), path);
    EXPECT_EQ(saved.value("Version").toString(), "9");
    window.reset();  // destroyed after the loop ended: no dangling use
}

// A later loop (check or report data) holds the same guard.
TEST_F(LoopTest, ClosingStopsAnyLoopThatHoldsTheBusyGuard) {
    auto window = MakeWindow();
    window->show();
    int steps = 0;
    bool importDisabled = false;
    window->SetButton1Handler([&] {
        BusyGuard guard(window->Busy());
        importDisabled = !window->SpeedButton1->isEnabled();
        for (; steps < 100000 && !window->Busy().StopRequested(); ++steps) {
            if (steps == 25) QTimer::singleShot(0, window.get(), [&] { window->close(); });
            QCoreApplication::processEvents();
        }
    });
    window->Button1->click();
    EXPECT_TRUE(importDisabled);
    EXPECT_LT(steps, 100);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->Busy().StopRequested());
    EXPECT_TRUE(window->SpeedButton1->isEnabled());
    EXPECT_TRUE(QFile::exists(SettingsPath()));
}

TEST_F(LoopTest, StopRequestWithoutALoopIsForgotten) {
    BusyState state;
    state.RequestStop();
    EXPECT_FALSE(state.StopRequested());
    std::vector<bool> changes;
    state.SetListener([&](bool busy) { changes.push_back(busy); });
    {
        BusyGuard outer(state);
        BusyGuard inner(state);  // loops may nest: one change each way
        state.RequestStop();
        EXPECT_TRUE(state.StopRequested());
    }
    EXPECT_FALSE(state.StopRequested());
    EXPECT_EQ(changes, (std::vector<bool>{true, false}));
}

}  // namespace
}  // namespace mosaiko::test
