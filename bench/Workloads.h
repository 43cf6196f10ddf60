// The symbols every library is timed on, and the runner signature each
// library file provides.
#pragma once

#include <string>
#include <vector>

#include <benchmark/benchmark.h>

namespace mosaiko::bench {

// What the text is made of, so each runner can pick its library's matching mode.
enum class Content { Mixed, Bytes, Digits };

struct Workload {
    const char* name;  // e.g. "40-L"
    int version;       // 1-40, forced in every library
    int level;         // 0-3 = L, M, Q, H
    Content content;
    std::string text;  // identical bytes for every library
};

// Fixed list, built once.
const std::vector<Workload>& Workloads();

// Deterministic texts, so every run and every library sees the same bytes.
// ByteText uses only characters outside the alphanumeric set (lower-case
// letters and a little punctuation), so every library must use byte mode.
std::string ByteText(size_t length);
std::string DigitText(size_t length);

// One library's timing loop for one workload.
using SymbolRunner = void (*)(benchmark::State&, const Workload&);

#ifdef MOSAIKO_BENCH_MOSAIKO
void RunMosaiko(benchmark::State& state, const Workload& workload);
void RunMosaikoSmallest(benchmark::State& state, const Workload& workload);
#endif
#ifdef MOSAIKO_BENCH_QRCODEGEN
void RunQrcodegen(benchmark::State& state, const Workload& workload);
#endif
#ifdef MOSAIKO_BENCH_QRENCODE
void RunQrencode(benchmark::State& state, const Workload& workload);
#endif
#ifdef MOSAIKO_BENCH_ZINT
void RunZint(benchmark::State& state, const Workload& workload);
#endif

}  // namespace mosaiko::bench
