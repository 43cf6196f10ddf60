// Registers Symbol/<library>/<workload> for every library that was found at
// configure time, grouped by workload so the libraries appear side by side.
#include <string>
#include <vector>

#include "Workloads.h"

namespace {

using mosaiko::bench::SymbolRunner;
using mosaiko::bench::Workload;

struct Library {
    const char* name;
    SymbolRunner run;
};

std::vector<Library> Libraries() {
    using namespace mosaiko::bench;
    return {
#ifdef MOSAIKO_BENCH_MOSAIKO
        {"mosaiko", &RunMosaiko},
        {"mosaiko-smallest", &RunMosaikoSmallest},
#endif
#ifdef MOSAIKO_BENCH_QRCODEGEN
        {"qrcodegen", &RunQrcodegen},
#endif
#ifdef MOSAIKO_BENCH_QRENCODE
        {"qrencode", &RunQrencode},
#endif
#ifdef MOSAIKO_BENCH_ZINT
        {"zint", &RunZint},
#endif
    };
}

void RegisterSymbolCases() {
    for (const Workload& workload : mosaiko::bench::Workloads()) {
        for (const Library& library : Libraries()) {
            const std::string name = std::string("Symbol/") + library.name + "/" + workload.name;
            benchmark::RegisterBenchmark(name.c_str(), library.run, workload)
                ->Unit(benchmark::kMicrosecond);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    // A short default run time; a --benchmark_min_time given later on the
    // command line still wins, because the last value of a flag counts.
    std::vector<char*> args(argv, argv + argc);
    static char kDefaultMinTime[] = "--benchmark_min_time=0.2";
    args.insert(args.begin() + (argc > 0 ? 1 : 0), kDefaultMinTime);
    int count = static_cast<int>(args.size());
    args.push_back(nullptr);

    RegisterSymbolCases();
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
