#include "QrEncoder.h"

#include <cstring>

namespace mosaiko {

QrEncoder::QrEncoder() = default;

bool QrEncoder::SetVersion(int version) {
    if (version < 1 || version > kMaxVersion) return false;
    version_ = version;
    return true;
}

bool QrEncoder::SetEclevel(int level) {
    if (level < kLevelL || level > kLevelH) return false;
    eclevel_ = level;
    return true;
}

bool QrEncoder::SetEmode(int mode) {
    if (mode < kModeAuto || mode > kModeKanji) return false;
    emode_ = emodeR_ = mode;
    return true;
}

bool QrEncoder::SetMasktype(int mask) {
    if (mask < -1 || mask > 7) return false;
    masktype_ = masktypeR_ = mask;
    return true;
}

bool QrEncoder::SetMode(int mode) {
    switch (mode) {
    case qrSingle:
        count_ = 1;
        break;
    case qrConnect:
        count_ = count_ < 2 ? 2 : (count_ > kMaxConnectPieces ? kMaxConnectPieces : count_);
        break;
    case qrPlus:
        count_ = count_ < 2 ? 2 : (count_ > kMaxPieces ? kMaxPieces : count_);
        break;
    default:
        return false;
    }
    mode_ = static_cast<TQRMode>(mode);
    return true;
}

bool QrEncoder::SetCount(int count) {
    if (count < 1 || count > kMaxPieces) return false;
    count_ = count;
    return true;
}

void QrEncoder::SetStructure(TQRMode mode, int count, int parity, int currentSymbol) {
    mode_ = mode;
    count_ = count;
    parity_ = parity & 0xFF;
    currentSymbol_ = currentSymbol;
}

bool QrEncoder::SetSymbolText(const uint8_t* data, int length) {
    if (length < 0 || length > kMaxSymbolText) return false;
    if (length > 0) std::memcpy(symbolText_, data, static_cast<size_t>(length));
    pieceLength_ = length;
    return true;
}

int QrEncoder::GetCapacity() const {
    const int mode = emodeR_ == kModeAuto ? kModeAlphanumeric : emodeR_;
    return Level().Capacity[mode] * count_;
}

bool QrEncoder::EncodeData() {
    return (emode_ != kModeAuto ? EncodeFixed() : emodeOptimal_ ? EncodeSmallest() : EncodeAuto()) >= 0;
}

// The standard's procedure for one symbol. Nothing after a failed data
// encoding runs, so the matrix keeps the previous symbol.
bool QrEncoder::BuildSymbol() {
    if (!EncodeData()) return false;
    ComputeErrorCorrection();
    InterleaveCodewords();
    BuildFunctionPatterns();
    PlaceCodewords();
    SelectMask();
    WriteFormatAndVersion();
    return true;
}

}  // namespace mosaiko
