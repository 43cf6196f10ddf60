// Painting timings: a whole PaintSymbol run of the TQRCode control (split,
// check, encode every symbol, fill the module runs into the picture), on
// the offscreen platform.
//   Paint/mosaiko/20-L       one version 20-L symbol of 858 bytes (the 20-L
//                            workload's text) into a 256 x 256 bitmap, Pxmag 1
//   Paint/mosaiko/plus-1024  a qrPlus run of 1024 version 1-L symbols, 10
//                            bytes each (10240 bytes of ByteText), 32 per
//                            row, Match on (a 928 x 928 bitmap), Pxmag 1, no
//                            numbering, so the time is symbols, not text
//   Paint/mosaiko/comment-emf/N  one version 1-L symbol into a metafile with
//                            a CommentDown of N characters: the text's
//                            measuring and per-character advances; the time
//                            per character stays flat as N grows
#include <QApplication>

#include "BenchApp.h"
#include <memory>
#include <string>

#include "QRCode3.h"
#include "Workloads.h"

namespace {

using mosaiko::TQRCode;

void EnsureApplication() { mosaiko::bench::BenchApplication(); }

void RunPaint(benchmark::State& state, TQRCode& q, int symbols) {
    q.SetSymbolEnabled(true);  // one untimed run to check the settings
    if (!q.SymbolDisped() || q.Count() != symbols) {
        state.SkipWithError("the symbols were not all made");
        return;
    }
    for (auto _ : state) {
        q.PaintSymbol();
        benchmark::DoNotOptimize(q.SymbolDisped());
    }
    state.SetItemsProcessed(state.iterations() * symbols);
}

void PaintOneVersion20(benchmark::State& state) {
    EnsureApplication();
    auto q = std::make_unique<TQRCode>();
    q->SetSymbolEnabled(false);
    q->SetWidth(256);
    q->SetHeight(256);
    q->SetVersion(20);
    q->SetEclevel(0);
    q->SetCode(mosaiko::bench::ByteText(858));
    RunPaint(state, *q, 1);
}

void PaintPlus1024(benchmark::State& state) {
    EnsureApplication();
    auto q = std::make_unique<TQRCode>();
    q->SetSymbolEnabled(false);
    q->SetVersion(1);
    q->SetEclevel(0);
    q->SetCode(mosaiko::bench::ByteText(10240));
    q->SetMode(mosaiko::qrPlus);
    q->SetCount(1024);
    q->SetColumn(32);
    q->SetNumbering(mosaiko::nbrNone);
    q->SetMatch(true);
    RunPaint(state, *q, 1024);
}

void PaintLongComment(benchmark::State& state) {
    EnsureApplication();
    auto q = std::make_unique<TQRCode>();
    q->SetSymbolEnabled(false);
    q->SetVersion(1);
    q->SetCode("COMMENT");
    q->SetSymbolPicture(mosaiko::picEMF);
    q->SetSymbolSpaceDown(20);
    std::string comment;
    while (comment.size() < static_cast<std::size_t>(state.range(0))) comment += "AVA WAy ";
    comment.resize(static_cast<std::size_t>(state.range(0)));
    q->SetCommentDown(comment);
    RunPaint(state, *q, 1);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(PaintLongComment)
    ->Name("Paint/mosaiko/comment-emf")
    ->Arg(4000)
    ->Arg(16000)
    ->Arg(64000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(PaintOneVersion20)->Name("Paint/mosaiko/20-L")->Unit(benchmark::kMicrosecond);
BENCHMARK(PaintPlus1024)->Name("Paint/mosaiko/plus-1024")->Unit(benchmark::kMillisecond);

}  // namespace
