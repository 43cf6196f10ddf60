// libqrencode: byte text through QRcode_encodeData (pure 8-bit mode), the
// others through QRcode_encodeString with its own mode optimisation. The
// version asked for is a minimum there, so the result is checked.
#include <qrencode.h>

#include "Workloads.h"

namespace mosaiko::bench {

namespace {

QRecLevel ToLevel(int level) {
    switch (level) {
        case 0: return QR_ECLEVEL_L;
        case 1: return QR_ECLEVEL_M;
        case 2: return QR_ECLEVEL_Q;
        default: return QR_ECLEVEL_H;
    }
}

QRcode* Make(const Workload& workload, QRecLevel level) {
    if (workload.content == Content::Bytes) {
        return QRcode_encodeData(static_cast<int>(workload.text.size()),
                                 reinterpret_cast<const unsigned char*>(workload.text.data()),
                                 workload.version, level);
    }
    return QRcode_encodeString(workload.text.c_str(), workload.version, level, QR_MODE_8, 1);
}

}  // namespace

void RunQrencode(benchmark::State& state, const Workload& workload) {
    const QRecLevel level = ToLevel(workload.level);
    QRcode* check = Make(workload, level);
    if (check == nullptr) {
        state.SkipWithError("qrencode failed");
        return;
    }
    const bool right = check->version == workload.version && check->width == 17 + 4 * workload.version;
    QRcode_free(check);
    if (!right) {
        state.SkipWithError("qrencode made another version");
        return;
    }
    for (auto _ : state) {
        QRcode* qr = Make(workload, level);
        if (qr == nullptr) {
            state.SkipWithError("qrencode failed");
            break;
        }
        benchmark::DoNotOptimize(qr->data);
        QRcode_free(qr);  // freeing the result is part of its cost
    }
}

}  // namespace mosaiko::bench
