#include "WindowTestSupport.h"

#include <QApplication>
#include <QFile>
#include <QToolButton>

#include "Grouping.h"

namespace mosaiko::test {

void WindowTest::WriteSettingsText(const std::string& text) const {
    QFile file(SettingsPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[General]\n");
    file.write(text.data(), static_cast<qint64>(text.size()));
}

std::unique_ptr<TQRTest_main> WindowTest::MakeWindow() { return std::make_unique<TQRTest_main>(Seams()); }

MainWindowSeams WindowTest::Seams() {
    MainWindowSeams seams;
    const QString path = SettingsPath();
    seams.openSettings = [path] { return SettingsStore::OpenFile(path); };
    seams.chooseFile = [this](QWidget*, const QString& initial) {
        dialogInitialPaths << initial;
        return nextChoice;
    };
    seams.showError = [this](QWidget*, const QString& message, const QString& detail) {
        errors << message;
        errorDetails << detail;
        errorCursorsLeft = QApplication::overrideCursor() ? 1 : 0;
    };
    seams.importSliceMs = importSliceMs;
    return seams;
}

QString WindowTest::WriteFile(const QString& name, const std::string& bytes) const {
    const QString path = dir_.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return path;
}

void WindowTest::ImportPath(TQRTest_main& window, const QString& path) {
    nextChoice = path;
    window.SpeedButton1->click();
}

void WindowTest::ImportBytes(TQRTest_main& window, const std::string& bytes) {
    ImportPath(window, WriteFile(QStringLiteral("input.csv"), bytes));
}

Lines MemoContents(const TQRTest_main& window) {
    Lines lines;
    for (std::size_t i = 0; i < window.Lines().Count(); ++i) lines.emplace_back(window.Lines().Line(i));
    return lines;
}

std::string Numbered(int n) {
    std::string bytes;
    for (int i = 1; i <= n; ++i) bytes += std::to_string(i) + ",line\r\n";
    return bytes;
}

AtLine::AtLine(const TQRTest_main& window, std::size_t lines, std::function<void()> action) {
    timer_.setInterval(0);  // fires at every event processing
    QObject::connect(&timer_, &QTimer::timeout, [this, &window, lines, action] {
        if (window.Lines().Count() < lines) return;
        timer_.stop();
        action();
    });
    timer_.start();
}

std::string Sep() { return std::string(kSeparatorLine); }

}  // namespace mosaiko::test
