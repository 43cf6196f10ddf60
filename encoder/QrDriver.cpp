#include "QrDriver.h"

#include <cstring>
#include <string_view>

#include "CharacterTables.h"
#include "ShiftJisText.h"

namespace mosaiko {
std::string SettingsError::Message() const { return "Illegal " + item + " : " + std::to_string(value); }

bool SettingsError::Fail(std::string failedItem, int failedValue) {
    item = std::move(failedItem);
    value = failedValue;
    return false;
}

QrDriver::QrDriver() : data_(4, 0) {}

void QrDriver::SetCode(std::string code) {
    code_ = std::move(code);
    len_ = ConvertCode();
}

void QrDriver::SetBinaryOperation(bool on) {
    binaryOperation_ = on;
    len_ = ConvertCode();
}

bool QrDriver::SetPxmag(int pxmag) {
    if (pxmag < 1 || pxmag > 10) return false;
    pxmag_ = pxmag;
    return true;
}

int QrDriver::ConvertCode() {
    const int length = static_cast<int>(code_.size());
    binary_ = false;
    std::string converted;
    bool binary = false;
    const bool escaped = binaryOperation_ && length > 0 && AppendUnescaped(converted, code_, binary);
    if (binaryOperation_ && length > 0 && !escaped) binaryOperation_ = false;  // a failed conversion is silent
    const std::string& bytes = escaped ? converted : code_;
    binary_ = escaped && binary;
    data_.assign(bytes.size() + 4, 0);
    if (!bytes.empty()) std::memcpy(data_.data(), bytes.data(), bytes.size());
    return static_cast<int>(bytes.size());
}

// Cuts the data into Count pieces of nearly equal size, never inside a
// Shift-JIS character, and settles Count and Mode.
void QrDriver::SplitData() {
    const QrEncoder& e = encoder_;
    int count = e.Count();
    if (len_ < count) count = len_;
    if (count < 1) count = 1;
    if (count > kMaxPieces) count = kMaxPieces;
    int n = len_ / count;
    if (n * count < len_ && (n + 1) * (count - 1) < len_) ++n;
    const std::string_view data(reinterpret_cast<const char*>(data_.data()), static_cast<size_t>(len_));
    offsets_[0] = 0;
    int i = 1;
    int p = n;
    while (i < count && p < len_) {
        if (IsSecondByte(data, static_cast<size_t>(p)) && tables::IsKanjiTrail(static_cast<uint8_t>(data[p]))) {
            if (p - 1 > offsets_[i - 1]) --p;
            else if (p + 1 >= len_) break;
            else ++p;
        }
        offsets_[i++] = p;
        p += n;
    }
    offsets_[i] = len_;
    count = i;
    TQRMode mode = e.Mode();
    if (count == 1) mode = qrSingle;
    else if (count > kMaxConnectPieces) mode = qrPlus;
    else if (mode == qrSingle) mode = qrConnect;
    encoder_.SetStructure(mode, count, e.Parity(), e.CurrentSymbol());
}

bool QrDriver::CheckCounts(SettingsError& error) const {
    const int count = encoder_.Count();
    if (len_ < 0) return error.Fail("Len", len_);
    if (count < 1 || count > kMaxPieces) return error.Fail("Count", count);
    if (encoder_.Mode() > qrPlus) return error.Fail("Mode", encoder_.Mode());
    return true;
}

bool QrDriver::CheckPieces(SettingsError& error) {
    const int count = encoder_.Count();
    const TQRMode mode = encoder_.Mode();
    auto failOffset = [&](int k) { return error.Fail("Offset[" + std::to_string(k) + "]", offsets_[k]); };
    if (len_ == 0) {
        if (count != 1) return error.Fail("Count", count);
        if (mode != qrSingle) return error.Fail("Mode", mode);
        if (offsets_[0] != 0) return failOffset(0);
        if (offsets_[1] != 0) return failOffset(1);
    } else {
        if (len_ < count) return error.Fail("Count", count);
        if (mode == qrSingle && count != 1) return error.Fail("Count", count);
        if (mode == qrConnect && (count < 2 || count > kMaxConnectPieces)) return error.Fail("Count", count);
        if (mode == qrPlus && count < 2) return error.Fail("Count", count);
        if (offsets_[0] != 0) return failOffset(0);
        if (offsets_[count] != len_) return failOffset(count);
        for (int k = 1; k <= count; ++k)
            if (offsets_[k] <= offsets_[k - 1]) return failOffset(k);
    }
    ComputeParity();
    return true;
}

// Every symbol of a structured-append run carries the XOR of all data bytes.
void QrDriver::ComputeParity() {
    const QrEncoder& e = encoder_;
    if (e.Mode() != qrConnect || len_ / e.Count() > kMaxSymbolText) return;
    uint8_t parity = 0;
    for (int i = 0; i < len_; ++i) parity ^= data_[static_cast<size_t>(i)];
    encoder_.SetStructure(e.Mode(), e.Count(), parity, e.CurrentSymbol());
}

void QrDriver::SetCurrentSymbol(int k) {
    const QrEncoder& e = encoder_;
    encoder_.SetStructure(e.Mode(), e.Count(), e.Parity(), k);
}

// The current symbol ends as the piece that stopped the run, or Count + 1.
bool QrDriver::RunSymbols(SymbolVisitor& visitor) {
    for (int k = 1;; ++k) {
        SetCurrentSymbol(k);
        if (k > encoder_.Count()) return true;
        visitor.BeforeSymbol(k);
        const int length = PieceLength(k);
        if (length > kMaxSymbolText) return false;
        encoder_.SetSymbolText(data_.data() + offsets_[k - 1], length);
        if (!visitor.Build(k)) return false;
    }
}

}  // namespace mosaiko
