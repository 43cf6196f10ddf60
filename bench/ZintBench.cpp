// zint: BARCODE_QRCODE in DATA_MODE with level and version given, automatic
// mask. One zint_symbol is reused; ZBarcode_Clear is needed before every
// encode because Encode only sets the dark modules.
#include <zint.h>

#include <memory>
#include <string>

#include "Workloads.h"

namespace mosaiko::bench {

namespace {

struct SymbolDeleter {
    void operator()(zint_symbol* symbol) const { ZBarcode_Delete(symbol); }
};

int Encode(zint_symbol* symbol, const Workload& workload) {
    ZBarcode_Clear(symbol);
    return ZBarcode_Encode(symbol, reinterpret_cast<const unsigned char*>(workload.text.data()),
                           static_cast<int>(workload.text.size()));
}

}  // namespace

void RunZint(benchmark::State& state, const Workload& workload) {
    std::unique_ptr<zint_symbol, SymbolDeleter> symbol(ZBarcode_Create());
    if (!symbol) {
        state.SkipWithError("ZBarcode_Create failed");
        return;
    }
    symbol->symbology = BARCODE_QRCODE;
    symbol->input_mode = DATA_MODE;
    symbol->option_1 = workload.level + 1;  // 1-4 = L, M, Q, H
    symbol->option_2 = workload.version;

    // Warnings count as failures too: they mean zint changed an option.
    if (int rc = Encode(symbol.get(), workload); rc != 0) {
        state.SkipWithError((std::string("zint: ") + symbol->errtxt).c_str());
        return;
    }
    const int side = 17 + 4 * workload.version;
    if (symbol->rows != side || symbol->width != side) {
        state.SkipWithError("zint made another version");
        return;
    }
    for (auto _ : state) {
        if (Encode(symbol.get(), workload) != 0) {
            state.SkipWithError((std::string("zint: ") + symbol->errtxt).c_str());
            break;
        }
        benchmark::DoNotOptimize(symbol->encoded_data);
    }
}

}  // namespace mosaiko::bench
