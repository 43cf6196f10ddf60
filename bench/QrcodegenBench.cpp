// Nayuki's qrcodegen (C++): segments from makeSegments, version forced by
// min = max = the workload's version, automatic mask, no level boost.
#include <qrcodegen/qrcodegen.hpp>

#include <string>

#include "Workloads.h"

namespace mosaiko::bench {

namespace {

using qrcodegen::QrCode;
using qrcodegen::QrSegment;

QrCode::Ecc ToEcc(int level) {
    switch (level) {
        case 0: return QrCode::Ecc::LOW;
        case 1: return QrCode::Ecc::MEDIUM;
        case 2: return QrCode::Ecc::QUARTILE;
        default: return QrCode::Ecc::HIGH;
    }
}

QrCode Make(const Workload& workload, QrCode::Ecc ecc) {
    return QrCode::encodeSegments(QrSegment::makeSegments(workload.text.c_str()), ecc,
                                  workload.version, workload.version, -1, false);
}

}  // namespace

void RunQrcodegen(benchmark::State& state, const Workload& workload) {
    const QrCode::Ecc ecc = ToEcc(workload.level);
    // One untimed symbol to make sure the version and mode are the asked ones.
    try {
        const auto segments = QrSegment::makeSegments(workload.text.c_str());
        const auto single = [&](const QrSegment::Mode& mode) {
            return segments.size() == 1 && segments[0].getMode().getModeBits() == mode.getModeBits();
        };
        const bool bytes = single(QrSegment::Mode::BYTE);
        const bool digits = single(QrSegment::Mode::NUMERIC);
        if ((workload.content == Content::Bytes && !bytes) ||
            (workload.content == Content::Digits && !digits)) {
            state.SkipWithError("qrcodegen chose an unexpected mode");
            return;
        }
        if (Make(workload, ecc).getVersion() != workload.version) {
            state.SkipWithError("qrcodegen made another version");
            return;
        }
    } catch (const std::exception& e) {
        state.SkipWithError((std::string("qrcodegen failed: ") + e.what()).c_str());
        return;
    }
    for (auto _ : state) {
        QrCode qr = Make(workload, ecc);
        benchmark::DoNotOptimize(qr);
    }
}

}  // namespace mosaiko::bench
