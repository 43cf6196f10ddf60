#include "QrDriver.h"

#include <cstring>

#include "CharacterTables.h"
#include "ShiftJisText.h"

namespace mosaiko {
std::string SettingsError::Message() const { return "Illegal " + item + " : " + std::to_string(value); }

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
    if (len_ < count_) count_ = len_;
    if (count_ < 1) count_ = 1;
    if (count_ > kMaxPieces) count_ = kMaxPieces;
    int n = len_ / count_;
    if (n * count_ < len_ && (n + 1) * (count_ - 1) < len_) ++n;
    const std::string_view data(reinterpret_cast<const char*>(data_.data()), static_cast<size_t>(len_));
    offsets_[0] = 0;
    int i = 1;
    int p = n;
    while (i < count_ && p < len_) {
        if (IsSecondByte(data, static_cast<size_t>(p)) && tables::IsKanjiTrail(static_cast<uint8_t>(data[p]))) {
            if (p - 1 > offsets_[i - 1]) --p;
            else if (p + 1 >= len_) break;
            else ++p;
        }
        offsets_[i++] = p;
        p += n;
    }
    offsets_[i] = len_;
    count_ = i;
    if (count_ == 1) mode_ = qrSingle;
    else if (count_ > 16) mode_ = qrPlus;
    else if (mode_ == qrSingle) mode_ = qrConnect;
}

bool QrDriver::CheckSettings(int column, SettingsError& error) {
    auto fail = [&](std::string item, int value) {
        error = {std::move(item), value};
        return false;
    };
    auto offsetItem = [](int k) { return "Offset[" + std::to_string(k) + "]"; };
    if (len_ < 0) return fail("Len", len_);
    if (count_ < 1 || count_ > kMaxPieces) return fail("Count", count_);
    if (mode_ > qrPlus) return fail("Mode", mode_);
    if (column < 1 || column > kMaxPieces) return fail("Column", column);
    if (len_ == 0) {
        if (count_ != 1) return fail("Count", count_);
        if (mode_ != qrSingle) return fail("Mode", mode_);
        if (offsets_[0] != 0) return fail(offsetItem(0), offsets_[0]);
        if (offsets_[1] != 0) return fail(offsetItem(1), offsets_[1]);
    } else {
        if (len_ < count_) return fail("Count", count_);
        if (mode_ == qrSingle && count_ != 1) return fail("Count", count_);
        if (mode_ == qrConnect && (count_ < 2 || count_ > 16)) return fail("Count", count_);
        if (mode_ == qrPlus && count_ < 2) return fail("Count", count_);
        if (offsets_[0] != 0) return fail(offsetItem(0), offsets_[0]);
        if (offsets_[count_] != len_) return fail(offsetItem(count_), offsets_[count_]);
        for (int k = 1; k <= count_; ++k)
            if (offsets_[k] <= offsets_[k - 1]) return fail(offsetItem(k), offsets_[k]);
    }
    ComputeParity();
    return true;
}

// Every symbol of a structured-append run carries the XOR of all data bytes.
void QrDriver::ComputeParity() {
    if (mode_ != qrConnect || len_ / count_ > kMaxSymbolText) return;
    uint8_t parity = 0;
    for (int i = 0; i < len_; ++i) parity ^= data_[static_cast<size_t>(i)];
    parity_ = parity;
}

bool QrDriver::RunSymbols(SymbolVisitor& visitor) {
    for (currentSymbol_ = 1; currentSymbol_ <= count_; ++currentSymbol_) {
        const int k = currentSymbol_;
        visitor.BeforeSymbol(k);
        const int length = PieceLength(k);
        if (length > kMaxSymbolText) return false;
        SetSymbolText(data_.data() + offsets_[k - 1], length);
        if (!visitor.Build(k)) return false;
    }
    return true;
}

}  // namespace mosaiko
