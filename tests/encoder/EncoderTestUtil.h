// Small helpers for the encoder tests.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "QrEncoder.h"

namespace mosaiko::test {

inline std::unique_ptr<QrEncoder> MakeEncoder(int version, int level, const std::string& text, int emode = -1) {
    auto e = std::make_unique<QrEncoder>();
    e->SetVersion(version);
    e->SetEclevel(level);
    e->SetEmode(emode);
    e->SetSymbolText(reinterpret_cast<const uint8_t*>(text.data()), static_cast<int>(text.size()));
    return e;
}

inline std::vector<int> DataCodewords(const QrEncoder& e) {
    const int d = e.Level().DataCodewords;
    return std::vector<int>(e.DataCodewordBuffer(), e.DataCodewordBuffer() + d);
}

// Reads `count` bits from the data codewords, most significant first.
class BitReader {
public:
    explicit BitReader(const uint8_t* data) : data_(data) {}
    int Read(int count) {
        int v = 0;
        for (int i = 0; i < count; ++i, ++pos_) v = (v << 1) | ((data_[pos_ / 8] >> (7 - pos_ % 8)) & 1);
        return v;
    }
    int Position() const { return pos_; }
    void Skip(int count) { pos_ += count; }

private:
    const uint8_t* data_;
    int pos_ = 0;
};

}  // namespace mosaiko::test

#include "QrDecode.h"

namespace mosaiko::test {
// Decoded bytes of the encoder's current symbol, or "<no symbol>".
inline std::string DecodeSymbolBytes(const QrEncoder& e) {
    auto d = DecodeSymbol(e);
    return d ? d->bytes : std::string("<no symbol>");
}
}  // namespace mosaiko::test
