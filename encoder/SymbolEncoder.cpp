#include "SymbolEncoder.h"

namespace mosaiko {

void SymbolEncoder::Apply(const SymbolRequest& request) {
    encoder_.SetVersion(request.version);
    encoder_.SetEclevel(request.eclevel);
    if (request.emode != encoder_.Emode()) encoder_.SetEmode(request.emode);
    if (request.masktype != encoder_.Masktype()) encoder_.SetMasktype(request.masktype);
    encoder_.SetEmodeOptimal(request.optimal);
    if (request.pxmag >= 1 && request.pxmag <= 10) pxmag_ = request.pxmag;
    encoder_.SetStructure(qrSingle, 1, encoder_.Parity(), 1);
}

bool SymbolEncoder::FitsSmallest(std::string_view data) {
    if (data.size() > static_cast<size_t>(kMaxSymbolText)) return false;
    encoder_.SetSymbolText(reinterpret_cast<const uint8_t*>(data.data()), static_cast<int>(data.size()));
    return encoder_.SegmentedBits(true) <= encoder_.Level().DataCodewords * 8;
}

const SymbolResult& SymbolEncoder::Encode(const SymbolRequest& request) {
    Run(request, result_, true);
    return result_;
}

SymbolResult SymbolEncoder::Measure(const SymbolRequest& request) {
    SymbolResult r;
    Run(request, r, false);
    return r;
}

void SymbolEncoder::Run(const SymbolRequest& request, SymbolResult& r, bool build) {
    Apply(request);
    r.made = false;
    r.matrix = nullptr;
    const auto length = static_cast<int>(request.data.size());
    if (request.data.size() > static_cast<size_t>(kMaxSymbolText)) {
        r.failure = SymbolFailure::TooLong;  // nothing is built, EmodeR stays
    } else {
        encoder_.SetSymbolText(reinterpret_cast<const uint8_t*>(request.data.data()), length);
        r.made = build ? encoder_.BuildSymbol() : encoder_.EncodeData();
        r.failure = r.made ? SymbolFailure::None
                    : encoder_.LastFailure() == EncodeFailure::ByteNotInMode ? SymbolFailure::ByteNotInMode
                                                                             : SymbolFailure::DoesNotFit;
        if (r.made && build) r.matrix = encoder_.Matrix();
    }
    r.modules = encoder_.ModulesPerSide();
    r.pxmag = pxmag_;
    r.sidePixels = (r.modules + 2 * kQuietModules) * pxmag_;
    r.capacity = encoder_.GetCapacity();
    r.emodeR = encoder_.EmodeR();
    r.masktypeR = encoder_.MasktypeR();
}

}  // namespace mosaiko
