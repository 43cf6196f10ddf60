// The report's print preview ("帳票印刷") of one-line groups, 8 per page: the
// dialog is opened by the form as the window opens it and closed as soon as
// it shows. Reported: the time until it shows (the case's time), the peak
// resident size of the process and the resident size after it closed.
//
// ru_maxrss is the peak of the whole process: run each size in a process of
// its own (--benchmark_filter=Preview/mosaiko/one-line/40000).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QTimer>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

#include "BenchApp.h"
#include "Import.h"
#include "ReportForm.h"
#include "ReportPreview.h"
#include "SymbolEncoder.h"

namespace {

using namespace mosaiko;

constexpr double kMiB = 1024.0 * 1024.0;

// Groups of one line each, "1,品名00001,ABC-000007" style (ASCII here).
MemoLines OneLineGroups(int groups) {
    std::string file;
    for (int g = 1; g <= groups; ++g)
        file += "1,Item" + std::to_string(g) + ",ABC-" + std::to_string(g * 7) + "\r\n";
    MemoLines memo;
    ImportBytes(file, memo);
    return memo;
}

double ResidentMiB() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / kMiB;
}

double PeakResidentMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) * 1024.0 / kMiB;  // ru_maxrss is in KiB
}

struct Shown {
    double seconds = 0;  // until the dialog had painted its first view
    int pages = 0;
};

// Rejects the preview dialog once it is up and has painted what it shows;
// gives up after about a minute so nothing can hang.
void CloseWhenShown(const QElapsedTimer& clock, Shown& shown, int triesLeft = 6000) {
    QTimer::singleShot(10, [&clock, &shown, triesLeft] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog && (qobject_cast<QPrintPreviewDialog*>(dialog) || qobject_cast<ReportPreview*>(dialog))) {
            dialog->grab();  // the first paint of the visible pages
            shown.seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
            if (auto* lazy = qobject_cast<ReportPreview*>(dialog))
                shown.pages = lazy->PageCount();
            else if (auto* view = dialog->findChild<QPrintPreviewWidget*>())
                shown.pages = view->pageCount();
            dialog->reject();
            return;
        }
        if (triesLeft == 0) {
            QApplication::closeAllWindows();
            return;
        }
        CloseWhenShown(clock, shown, triesLeft - 1);
    });
}

void Preview(benchmark::State& state) {
    const int groups = static_cast<int>(state.range(0));
    const MemoLines memo = OneLineGroups(groups);
    QApplication& app = bench::BenchApplication();
    SymbolEncoder symbols;
    Shown shown;
    double before = 0, after = 0;
    for (auto _ : state) {
        // A new form for each request, as the window makes one.
        TQuickReport1 form(ReportSource{&memo, &symbols, [] { return 20; }, [] { return 0; },
                                        [] { return std::string("Benchmark"); }, [&app] { app.processEvents(); }});
        form.LastLine = static_cast<int>(memo.Count()) - 1;
        form.Arrange(10, 8);
        before = ResidentMiB();
        QElapsedTimer clock;
        shown = Shown{};
        clock.start();
        CloseWhenShown(clock, shown);
        form.Preview();
        after = ResidentMiB();
        state.SetIterationTime(shown.seconds);
        if (shown.seconds == 0) state.SkipWithError("the preview did not show");
    }
    state.counters["pages"] = shown.pages;
    state.counters["RSS_before_MiB"] = before;
    state.counters["RSS_peak_MiB"] = PeakResidentMiB();
    state.counters["RSS_after_MiB"] = after;
}
BENCHMARK(Preview)
    ->Name("Preview/mosaiko/one-line")
    ->Arg(1000)
    ->Arg(40000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
