// Our encoder: one QrEncoder reused for every symbol, automatic segmentation
// and automatic mask, version and level fixed.
#include <cstdint>
#include <memory>

#include "MaskSearch.h"
#include "QrEncoder.h"
#include "Workloads.h"

namespace mosaiko::bench {

namespace {

void RunEncoder(benchmark::State& state, const Workload& workload, bool smallest) {
    // The encoder is large (fixed buffers), so it lives on the heap.
    auto encoder = std::make_unique<mosaiko::QrEncoder>();
    encoder->SetEmodeOptimal(smallest);
    encoder->SetVersion(workload.version);
    encoder->SetEclevel(workload.level);
    const auto* data = reinterpret_cast<const uint8_t*>(workload.text.data());
    const int length = static_cast<int>(workload.text.size());

    // One untimed symbol to make sure the version and mode are the asked ones.
    if (!encoder->SetSymbolText(data, length) || !encoder->BuildSymbol()) {
        state.SkipWithError("BuildSymbol failed");
        return;
    }
    const int expectedMode = workload.content == Content::Bytes    ? 2
                             : workload.content == Content::Digits ? 0
                                                                   : encoder->EmodeR();
    // The smallest encoding may mix modes where the automatic rule keeps one.
    if (encoder->ModulesPerSide() != 17 + 4 * workload.version || (!smallest && encoder->EmodeR() != expectedMode)) {
        state.SkipWithError("mosaiko made another version or mode");
        return;
    }

    for (auto _ : state) {
        encoder->SetSymbolText(data, length);
        const bool ok = encoder->BuildSymbol();
        if (!ok) {
            state.SkipWithError("BuildSymbol failed");
            break;
        }
        benchmark::DoNotOptimize(ok);
    }
}

}  // namespace

void RunMosaiko(benchmark::State& state, const Workload& workload) { RunEncoder(state, workload, false); }

// The same with the smallest encoding: the cost of its segmentation.
void RunMosaikoSmallest(benchmark::State& state, const Workload& workload) { RunEncoder(state, workload, true); }

}  // namespace mosaiko::bench

// Mask/mosaiko/<version>: the mask choice alone (the eight penalties of one
// loaded symbol of full byte-mode data at level L), with the widest kernel
// the CPU has; the step that dominates a whole symbol.
namespace mosaiko::bench {
namespace {

void MaskChoice(benchmark::State& state) {
    const int version = static_cast<int>(state.range(0));
    auto encoder = std::make_unique<mosaiko::QrEncoder>();
    encoder->SetVersion(version);
    encoder->SetMasktype(0);
    const std::string text = ByteText(mosaiko::SymbolParameters[version].Levels[0].Capacity[mosaiko::kModeByte]);
    encoder->SetSymbolText(reinterpret_cast<const uint8_t*>(text.data()), static_cast<int>(text.size()));
    if (!encoder->BuildSymbol()) {
        state.SkipWithError("BuildSymbol failed");
        return;
    }
    auto search = std::make_unique<mosaiko::MaskSearch>();
    search->Load(encoder->Matrix(), mosaiko::kMaxModules, encoder->ModulesPerSide());
    for (auto _ : state) benchmark::DoNotOptimize(search->BestMask());
}
BENCHMARK(MaskChoice)->Name("Mask/mosaiko")->Arg(1)->Arg(10)->Arg(20)->Arg(40);

}  // namespace
}  // namespace mosaiko::bench
