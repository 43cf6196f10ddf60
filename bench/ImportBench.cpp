// Import/window/<lines>: a generated Shift-JIS file imported through the real
// main window (dialog answered by a seam, events processed after the first
// line and then every 15 ms, the view on the offscreen platform).
// Import/rules/<lines> reads the same file without the window, to show what
// the event processing costs.
// Time is wall time for the whole file; items_per_second counts lines (CPU
// time). Counters: bytes the view holds per line, and how much
// the resident set grew per line from before the first import to after it.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <fstream>
#include <string>

#include "FileImport.h"
#include "Font.h"
#include "BenchApp.h"
#include "MainWindow.h"
#include "ShiftJis.h"

namespace {

QApplication& App() { return mosaiko::bench::BenchApplication(); }

QTemporaryDir& Folder() {
    static QTemporaryDir dir;
    return dir;
}

// `lines` data lines in groups of ten, with a skipped comment line every 100.
QString MakeFile(std::int64_t lines) {
    const QString path = Folder().filePath(QStringLiteral("import-%1.csv").arg(lines));
    if (QFile::exists(path)) return path;
    const std::string text = mosaiko::EncodeShiftJis(QStringLiteral(",東京都千代田区丸の内 商品 ABC-123 数量 12"));
    // Written a line at a time, so making the file leaves no big allocation behind.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return path;
    for (std::int64_t i = 0; i < lines; ++i) {
        std::string line = (i % 100 == 0) ? "# comment\r\n" : "";
        line += std::to_string(i % 10 + 1) + text + "\r\n";
        file.write(line.data(), static_cast<qint64>(line.size()));
    }
    return path;
}

long ResidentBytes() {
    long pages = 0;
    long resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

void SetCounters(benchmark::State& state, std::int64_t lines, std::size_t held, long growth, const QString& path) {
    state.SetItemsProcessed(state.iterations() * lines);
    state.counters["file_bytes_per_line"] = static_cast<double>(QFile(path).size()) / static_cast<double>(lines);
    state.counters["held_bytes_per_line"] = static_cast<double>(held) / static_cast<double>(lines);
    state.counters["rss_growth_per_line"] = static_cast<double>(growth) / static_cast<double>(lines);
}

void ImportThroughWindow(benchmark::State& state) {
    App();
    const std::int64_t lines = state.range(0);
    const QString path = MakeFile(lines);
    mosaiko::MainWindowSeams seams;
    const QString settings = Folder().filePath(QStringLiteral("Mosaiko.ini"));
    seams.openSettings = [settings] { return mosaiko::SettingsStore::OpenFile(settings); };
    seams.chooseFile = [path](QWidget*, const QString&) { return std::optional<QString>(path); };
    bool failed = false;
    seams.showError = [&failed](QWidget*, const QString&, const QString&) { failed = true; };
    mosaiko::TQRTest_main window(std::move(seams));
    window.show();
    QApplication::processEvents();

    long growth = -1;
    for (auto _ : state) {
        const long before = ResidentBytes();
        window.SpeedButton1Click();
        if (growth < 0) growth = ResidentBytes() - before;
    }
    if (failed || window.LineCount != lines) state.SkipWithError("the import did not take every line");
    SetCounters(state, lines, window.Lines().MemoryUsed(), growth, path);
    window.SpeedButton3Click();
}

void ImportRulesOnly(benchmark::State& state) {
    const std::int64_t lines = state.range(0);
    const QString path = MakeFile(lines);
    mosaiko::MemoLines memo;
    long growth = -1;
    for (auto _ : state) {
        const long before = ResidentBytes();
        const mosaiko::ImportResult result = mosaiko::ImportFile(path, memo, {});
        if (growth < 0) growth = ResidentBytes() - before;
        if (result.lineCount != lines) state.SkipWithError("the import did not take every line");
    }
    SetCounters(state, lines, memo.MemoryUsed(), growth, path);
}

}  // namespace

BENCHMARK(ImportRulesOnly)->Name("Import/rules")->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ImportThroughWindow)->Name("Import/window")->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
