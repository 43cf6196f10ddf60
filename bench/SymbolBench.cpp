// Our encoder: one QrEncoder reused for every symbol, automatic segmentation
// and automatic mask, version and level fixed.
#include <cstdint>
#include <memory>

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
