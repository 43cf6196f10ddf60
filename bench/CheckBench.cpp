// The generation check of 10,000 groups at version 20, and the PDF report
// of 1,000 groups, through the same units the main window uses; the check
// and report of mosaiko-report for 1,000 and 10,000 one-line groups.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QFileInfo>
#include <cstdio>
#include <string>

#include "BenchApp.h"
#include "GenerationCheck.h"
#include "Import.h"
#include "ReportForm.h"
#include "ReportJob.h"
#include "ShiftJis.h"
#include "SymbolEncoder.h"

namespace {

using namespace mosaiko;

// Groups of three lines, "1,Item g line 1" .. "3,...", as an imported view.
MemoLines MakeGroups(int groups) {
    std::string file;
    for (int g = 1; g <= groups; ++g)
        for (int line = 1; line <= 3; ++line)
            file += std::to_string(line) + ",Item " + std::to_string(g) + " line " + std::to_string(line) +
                    " quantity 12 price 3400\r\n";
    MemoLines memo;
    ImportBytes(file, memo);
    return memo;
}

// The encoder the window keeps for its checks and reports.
struct Host {
    QApplication& app = bench::BenchApplication();  // fonts for the rows and the PDF
    SymbolEncoder symbols;
};

void Check(benchmark::State& state) {
    const int groups = static_cast<int>(state.range(0));
    const MemoLines memo = MakeGroups(groups);
    Host host;
    for (auto _ : state) {
        const CheckOutcome out = RunGenerationCheck(memo, host.symbols, 20, 0);
        if (!out.Passed()) state.SkipWithError("a group failed the check");
    }
    state.counters["groups/s"] = benchmark::Counter(groups, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(Check)->Name("Check/mosaiko/v20")->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);

// The same check with the rows' text laid out as the window's check does it.
void CheckWithRows(benchmark::State& state) {
    const int groups = static_cast<int>(state.range(0));
    const MemoLines memo = MakeGroups(groups);
    Host host;
    const RowTextFit rows(10, 8);
    for (auto _ : state) {
        const CheckOutcome out = RunGenerationCheck(memo, host.symbols, 20, 0, {}, &rows);
        if (!out.Passed() || !out.overflows.empty()) state.SkipWithError("a group failed or overflowed");
    }
    state.counters["groups/s"] = benchmark::Counter(groups, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(CheckWithRows)->Name("Check/mosaiko/v20-rows")->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);

void ReportPdf(benchmark::State& state) {
    const int groups = static_cast<int>(state.range(0));
    const MemoLines memo = MakeGroups(groups);
    Host host;
    QTemporaryDir dir;
    const QString path = dir.filePath("report.pdf");
    TQuickReport1 form(ReportSource{&memo, &host.symbols, [] { return 20; }, [] { return 0; },
                                    [] { return std::string("Benchmark"); }, {}});
    form.LastLine = static_cast<int>(memo.Count()) - 1;
    form.Arrange(10, 8);
    for (auto _ : state)
        if (!form.ExportToPdf(path)) state.SkipWithError("the PDF was not written");
    const double bytes = static_cast<double>(QFileInfo(path).size());
    state.counters["pages"] = form.PageCount();
    state.counters["KB/page"] = bytes / 1024.0 / std::max(1, form.PageCount());
}
BENCHMARK(ReportPdf)->Name("Report/mosaiko/pdf")->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(1);

// One-line groups such as "1,品名00001,ABC-000007" (Shift-JIS): the check and
// the PDF of mosaiko-report at its defaults (version 20, 標準サイズ, 8 per page).
void ReportOneLine(benchmark::State& state) {
    const int groups = static_cast<int>(state.range(0));
    std::string file;
    for (int g = 1; g <= groups; ++g) {
        char line[64];
        std::snprintf(line, sizeof line, "1,品名%05d,ABC-%06d\r\n", g, g * 7 % 1000000);
        file += EncodeShiftJis(QString::fromUtf8(line));
    }
    MemoLines memo;
    ImportBytes(file, memo);
    Host host;
    QTemporaryDir dir;
    const QString path = dir.filePath("report.pdf");
    const ReportJob job(memo, host.symbols);
    const ReportSettings settings;
    int pages = 0;
    for (auto _ : state) {
        if (!job.Check(settings).Passed()) state.SkipWithError("a group failed the check");
        const auto form = job.Form(settings);
        if (!form->ExportToPdf(path)) state.SkipWithError("the PDF was not written");
        pages = form->PageCount();
    }
    state.counters["pages"] = pages;
    state.counters["KB"] = static_cast<double>(QFileInfo(path).size()) / 1000.0;
}
BENCHMARK(ReportOneLine)->Name("Report/mosaiko/one-line")->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
