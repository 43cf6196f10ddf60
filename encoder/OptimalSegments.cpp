// The smallest encoding: the segmentation of the symbol text that takes the
// fewest bits at the current version, found by dynamic programming over the
// characters (a Kanji pair is one character, every other byte one).
//
// Costs are kept in sixths of a bit, so that a numeric digit (10/3 bits), an
// alphanumeric character (11/2) and the others add up exactly; a segment's
// payload is its sum rounded up to whole bits, which is the standard's 4 or 7
// bits for a short numeric group and 6 for a lone alphanumeric character.
// Rounding an open segment up only where it ends keeps the minimum exact:
// ceil is monotone and every closed part is a whole number of bits.
#include <climits>

#include "QrEncoder.h"

namespace mosaiko {
namespace {

constexpr int kSixths = 6;
constexpr int kUnreached = INT_MAX / 2;
constexpr uint8_t kStart = 4;  // no segment before this character

int RoundUpToBit(int sixths) { return (sixths + kSixths - 1) / kSixths * kSixths; }

// Whether a character of the given class can be written in mode m.
bool CanEncode(int m, int cls) {
    switch (cls) {
    case kModeNumeric: return m != kModeKanji;
    case kModeAlphanumeric: return m == kModeAlphanumeric || m == kModeByte;
    case kModeKanji: return m == kModeByte || m == kModeKanji;
    default: return m == kModeByte;
    }
}

int CharSixths(int m, int width) {
    switch (m) {
    case kModeNumeric: return 20;
    case kModeAlphanumeric: return 33;
    case kModeByte: return 48 * width;
    default: return 78;
    }
}

}  // namespace

int QrEncoder::PlanSmallestSegments() {
    int chars = 0;
    for (int p = 0; p < pieceLength_;) {
        const int cls = CharClass(p, pieceLength_ - p);
        planStart_[chars] = static_cast<uint16_t>(p);
        planClass_[chars] = static_cast<uint8_t>(cls);
        ++chars;
        p += cls == kModeKanji ? 2 : 1;
    }
    planChars_ = chars;
    if (chars == 0) return 0;
    int best[4] = {kUnreached, kUnreached, kUnreached, kUnreached};
    for (int c = 0; c < chars; ++c) {
        const int width = planClass_[c] == kModeKanji ? 2 : 1;
        int next[4];
        for (int m = 0; m < 4; ++m) {
            next[m] = kUnreached;
            if (!CanEncode(m, planClass_[c])) continue;
            const int cost = CharSixths(m, width);
            const int head = (4 + Params().CountIndicatorBits[m]) * kSixths;
            int value = c == 0 ? head + cost : best[m] < kUnreached ? best[m] + cost : kUnreached;
            uint8_t from = c == 0 ? kStart : static_cast<uint8_t>(m);
            for (int pm = 0; c > 0 && pm < 4; ++pm) {
                if (pm == m || best[pm] >= kUnreached) continue;
                const int switched = RoundUpToBit(best[pm]) + head + cost;
                if (switched < value) value = switched, from = static_cast<uint8_t>(pm);
            }
            next[m] = value;
            planFrom_[c][m] = from;
        }
        for (int m = 0; m < 4; ++m) best[m] = next[m];
    }
    int mode = 0;
    for (int m = 1; m < 4; ++m)
        if (RoundUpToBit(best[m]) < RoundUpToBit(best[mode])) mode = m;
    const int total = RoundUpToBit(best[mode]) / kSixths;
    for (int c = chars - 1; c >= 0; --c) {
        planMode_[c] = static_cast<uint8_t>(mode);
        mode = planFrom_[c][mode];
    }
    return total;
}

// The runs of one mode in the plan, one segment each: (start byte, bytes, mode).
template <typename Visit>
void QrEncoder::ForEachPlannedSegment(Visit visit) const {
    for (int c = 0; c < planChars_;) {
        int end = c + 1;
        while (end < planChars_ && planMode_[end] == planMode_[c]) ++end;
        const int start = planStart_[c];
        const int stop = end < planChars_ ? planStart_[end] : pieceLength_;
        visit(start, stop - start, static_cast<int>(planMode_[c]));
        c = end;
    }
}

int QrEncoder::EncodeSmallest() {
    ResetDataBuffer();
    lastFailure_ = EncodeFailure::None;
    if (PlanSmallestSegments() > RemainingBits()) {
        lastFailure_ = EncodeFailure::DoesNotFit;
        return -1;
    }
    int lastMode = kModeAuto;
    ForEachPlannedSegment([&](int start, int length, int mode) {
        WriteSegmentHeader(mode, length);
        WritePayload(mode, symbolText_ + start, length);
        lastMode = mode;
    });
    WriteEndOfStream();
    emodeR_ = lastMode;
    return 0;
}

int QrEncoder::SegmentedBits(bool smallest) {
    if (smallest) return PlanSmallestSegments();
    int bits = 0;
    for (int position = 0;;) {
        int mode = kModeAuto;
        const int n = NextSegment(position, pieceLength_ - position, mode);
        if (n == 0) return bits;
        bits += SegmentBits(mode, n);
        position += n;
    }
}

}  // namespace mosaiko
