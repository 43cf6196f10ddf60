// Data encoding: structured-append header, mode segments, terminator and padding.
#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cstring>

#include "CharacterRuns.h"
#include "CharacterTables.h"
#include "QrEncoder.h"

namespace mosaiko {

using tables::IsKanjiPair;

namespace {
constexpr uint32_t kModeIndicator[4] = {0b0001, 0b0010, 0b0100, 0b1000};
constexpr uint32_t kStructuredAppendIndicator = 0b0011;
constexpr uint8_t kPadCodewords[2] = {0xEC, 0x11};
// The pad codewords in turn, as long as any symbol needs: copied, not looped.
constexpr auto kPadRun = [] {
    std::array<uint8_t, kMaxDataCodewords> run{};
    for (size_t i = 0; i < run.size(); ++i) run[i] = kPadCodewords[i & 1];
    return run;
}();
static_assert(kPadRun[0] == 0xEC && kPadRun[1] == 0x11 && kPadRun[kMaxDataCodewords - 1] == 0x11);

// The same word with its bytes in big-endian order (the stream's), on any machine.
inline uint64_t BigEndian(uint64_t v) {
    if constexpr (std::endian::native == std::endian::big) return v;
    return __builtin_bswap64(v);
}
inline uint32_t BigEndian(uint32_t v) {
    if constexpr (std::endian::native == std::endian::big) return v;
    return __builtin_bswap32(v);
}
}  // namespace

// Bytes beyond a symbol's data codewords are never written, so clearing
// those the last symbol used (or this one will) clears the whole buffer.
void QrEncoder::ResetDataBuffer() {
    const int dataCodewords = Level().DataCodewords;
    std::memset(dataCodewords_, 0, static_cast<size_t>(std::max(dataUsed_, dataCodewords)));
    dataUsed_ = dataCodewords;
    byteIndex_ = 0;
    bitIndex_ = 7;
    if (mode_ == qrConnect) WriteStructuredAppendHeader();
}

// Header of a symbol in a structured-append run: position, total, parity.
void QrEncoder::WriteStructuredAppendHeader() {
    PutBits(4, kStructuredAppendIndicator);
    PutBits(4, static_cast<uint32_t>(currentSymbol_ - 1));
    PutBits(4, static_cast<uint32_t>(count_ - 1));
    PutBits(8, static_cast<uint32_t>(parity_));
}

// Appends the low `count` bits of value, most significant first. The buffer
// starts zeroed, so the bits are OR-ed in as one 32-bit big-endian window
// starting at the current codeword (its padding takes the window's end).
void QrEncoder::PutBits(int count, uint32_t value) {
    assert(count >= 0 && count <= 24);
    if (count == 0) return;  // a full buffer still takes an empty terminator or padding
    assert(byteIndex_ < kMaxDataCodewords);
    const int used = 7 - bitIndex_;
    const uint32_t bits = (value & ((1u << count) - 1u)) << (32 - count - used);
    uint8_t* out = dataCodewords_ + byteIndex_;
    uint32_t window;
    std::memcpy(&window, out, 4);
    window |= BigEndian(bits);
    std::memcpy(out, &window, 4);
    const int end = used + count;
    byteIndex_ += end / 8;
    bitIndex_ = 7 - end % 8;
}

int QrEncoder::RemainingBits() const {
    return (Level().DataCodewords - byteIndex_) * 8 + bitIndex_ - 7;
}

int QrEncoder::SegmentBits(int mode, int length) const {
    int payload = 0;
    switch (mode) {
    case kModeNumeric: payload = 10 * (length / 3) + (length % 3 == 1 ? 4 : length % 3 == 2 ? 7 : 0); break;
    case kModeAlphanumeric: payload = 11 * (length / 2) + (length % 2 ? 6 : 0); break;
    case kModeByte: payload = 8 * length; break;
    case kModeKanji: payload = 13 * (length / 2); break;
    default: assert(false); break;
    }
    return 4 + Params().CountIndicatorBits[mode] + payload;
}

int QrEncoder::CharClass(int position, int remaining) const {
    return tables::CharClassAt(symbolText_ + position, remaining);
}

// Bytes in the run of class `cls` (not Kanji) starting at position.
int QrEncoder::RunLength(int position, int remaining, int cls) const {
    return ClassRunLength(symbolText_ + position, remaining, cls);
}

// Cuts the next segment by comparing the bits of splitting off the
// neighbouring run against merging it; ties merge.
int QrEncoder::NextSegment(int position, int remaining, int& mode) const {
    if (remaining <= 0) return 0;
    const int m = CharClass(position, remaining);
    int c = 0;
    for (;;) {
        if (m == kModeKanji)
            while (c < remaining && CharClass(position + c, remaining - c) == m) c += 2;
        else
            c += RunLength(position + c, remaining - c, m);
        if (c >= remaining) break;
        const int m2 = CharClass(position + c, remaining - c);
        if (m == kModeKanji || m2 == kModeKanji) break;
        const int k = RunLength(position + c, remaining - c, m2);
        int split = SegmentBits(m, c) + SegmentBits(m2, k);
        if (m > m2) {
            const bool backToM = c + k < remaining && CharClass(position + c + k, remaining - c - k) == m;
            if (backToM) split += SegmentBits(m, 0);
            if (split < SegmentBits(m, c + k)) break;
            c += k;
        } else {
            if (split < SegmentBits(m2, c + k)) break;
            mode = m2;
            return c + k;
        }
    }
    mode = m;
    return c;
}

void QrEncoder::WriteSegmentHeader(int mode, int length) {
    PutBits(4, kModeIndicator[mode]);
    const int count = mode == kModeKanji ? length / 2 : length;
    PutBits(Params().CountIndicatorBits[mode], static_cast<uint32_t>(count));
}

void QrEncoder::WriteNumeric(const uint8_t* text, int length) {
    int i = 0;
    for (; i + 3 <= length; i += 3)
        PutBits(10, (text[i] - '0') * 100u + (text[i + 1] - '0') * 10u + (text[i + 2] - '0'));
    if (length - i == 2) PutBits(7, (text[i] - '0') * 10u + (text[i + 1] - '0'));
    else if (length - i == 1) PutBits(4, text[i] - '0');
}

void QrEncoder::WriteAlphanumeric(const uint8_t* text, int length) {
    const auto& value = tables::kAlphanumericValue;
    int i = 0;
    for (; i + 2 <= length; i += 2)
        PutBits(11, static_cast<uint32_t>(value[text[i]] * 45 + value[text[i + 1]]));
    if (i < length) PutBits(6, static_cast<uint32_t>(value[text[i]]));
}

// Eight bytes a step: the text moves into the stream shifted right by the
// bits already used in the current codeword; each step's last byte carries
// its low bits into the next step (PutBits' result, without its loop).
void QrEncoder::WriteBytes(const uint8_t* text, int length) {
    const int room = bitIndex_ + 1;
    assert(byteIndex_ + length + (room < 8 ? 1 : 0) <= kMaxDataCodewords);
    uint8_t* out = dataCodewords_ + byteIndex_;
    byteIndex_ += length;
    if (room == 8) {
        std::memcpy(out, text, static_cast<size_t>(length));
        return;
    }
    const int used = 8 - room;
    uint64_t carry = out[0];  // the codeword's used high bits, its low bits 0
    int i = 0;
    for (; i + 8 <= length; i += 8) {
        uint64_t v;
        std::memcpy(&v, text + i, 8);
        const uint64_t w = BigEndian((BigEndian(v) >> used) | (carry << 56));
        std::memcpy(out + i, &w, 8);
        carry = static_cast<uint8_t>(text[i + 7] << room);
    }
    out[i] = static_cast<uint8_t>(carry);
    for (; i < length; ++i) {
        out[i] |= static_cast<uint8_t>(text[i] >> used);
        out[i + 1] = static_cast<uint8_t>(text[i] << room);
    }
}

void QrEncoder::WriteKanji(const uint8_t* text, int length) {
    for (int i = 0; i + 1 < length; i += 2) PutBits(13, tables::KanjiValue(text[i], text[i + 1]));
}

void QrEncoder::WritePayload(int mode, const uint8_t* text, int length) {
    switch (mode) {
    case kModeNumeric: WriteNumeric(text, length); break;
    case kModeAlphanumeric: WriteAlphanumeric(text, length); break;
    case kModeByte: WriteBytes(text, length); break;
    default: WriteKanji(text, length); break;
    }
}

// Terminator (cut short when the symbol is full), bit padding to a byte
// boundary, then the alternating pad codewords.
void QrEncoder::WriteEndOfStream() {
    const int r = RemainingBits();
    if (r < 4) {
        PutBits(r, 0);
        return;
    }
    PutBits(4, 0);
    PutBits((r - 4) % 8, 0);
    const int end = Level().DataCodewords;
    if (byteIndex_ >= end) return;
    std::memcpy(dataCodewords_ + byteIndex_, kPadRun.data(), static_cast<size_t>(end - byteIndex_));
    byteIndex_ = end;
}

int QrEncoder::EncodeAuto() {
    ResetDataBuffer();
    lastFailure_ = EncodeFailure::None;
    int lastMode = kModeAuto;
    int position = 0;
    for (;;) {
        int mode = kModeAuto;
        const int n = NextSegment(position, pieceLength_ - position, mode);
        if (n == 0) break;
        if (SegmentBits(mode, n) > RemainingBits()) {
            lastFailure_ = EncodeFailure::DoesNotFit;
            return -1;
        }
        WriteSegmentHeader(mode, n);
        WritePayload(mode, symbolText_ + position, n);
        position += n;
        lastMode = mode;
    }
    WriteEndOfStream();
    emodeR_ = lastMode;
    return 0;
}

namespace {
// Whether every byte of the text can be written in the fixed mode.
bool FitsMode(int mode, const uint8_t* text, int length) {
    switch (mode) {
    case kModeNumeric:
        for (int i = 0; i < length; ++i)
            if (text[i] < '0' || text[i] > '9') return false;
        return true;
    case kModeAlphanumeric:
        for (int i = 0; i < length; ++i)
            if (text[i] >= 0x80 || tables::kAlphanumericValue[text[i]] < 0) return false;
        return true;
    case kModeKanji:
        if (length % 2 != 0) return false;
        for (int i = 0; i < length; i += 2)
            if (!IsKanjiPair(text[i], text[i + 1])) return false;
        return true;
    default:
        return true;
    }
}
}  // namespace

int QrEncoder::EncodeFixed() {
    ResetDataBuffer();
    const int mode = emode_;
    const int n = pieceLength_;
    lastFailure_ = EncodeFailure::None;
    if (SegmentBits(mode, n) > RemainingBits()) {
        lastFailure_ = EncodeFailure::DoesNotFit;
        return -1;
    }
    if (!FitsMode(mode, symbolText_, n)) {
        lastFailure_ = EncodeFailure::ByteNotInMode;
        return -1;
    }
    WriteSegmentHeader(mode, n);
    WritePayload(mode, symbolText_, n);
    WriteEndOfStream();
    return 0;
}

}  // namespace mosaiko
