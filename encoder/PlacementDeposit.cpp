// Codeword placement thirty-two rows at a time with the BMI2 bit deposit and
// extract instructions. Only this file is compiled for them, and it is
// called only when the CPU has them fast: the program stays x86-64-v2.
#include "Placement.h"

#include <algorithm>
#include <cstring>

#include "CpuFeatures.h"
#include "TargetRegion.h"
#include "MatrixSteps.h"
#include "QrEncoder.h"

#if defined(__x86_64__) && defined(__GNUC__)

#include <immintrin.h>

MOSAIKO_TARGET_BEGIN("bmi2,popcnt,ssse3")

namespace mosaiko {
namespace {

constexpr uint64_t kEven = 0x5555555555555555u;  // bit 2j of a pair of rows
constexpr uint64_t kOdd = 0xAAAAAAAAAAAAAAAAu;   // bit 2j + 1

// 64 stream bits from bit position p on, bit t = the bit at p + t (read as
// 128 bits: up to seven bits of the first byte are before p).
inline uint64_t Forward(const uint8_t* lsbFirst, int p) {
    unsigned __int128 w;
    std::memcpy(&w, lsbFirst + (p >> 3), 16);
    return static_cast<uint64_t>(w >> (p & 7));
}

// The c <= 64 bits that end at position e, bit t = the bit at e - 1 - t.
inline uint64_t Backward(const uint8_t* msbFirst, int e, int c) {
    const int q = (e - c) & ~7;
    uint64_t high, low;
    std::memcpy(&high, msbFirst + (q >> 3), 8);
    std::memcpy(&low, msbFirst + (q >> 3) + 8, 8);
    const unsigned __int128 w = (static_cast<unsigned __int128>(__builtin_bswap64(high)) << 64) | __builtin_bswap64(low);
    return static_cast<uint64_t>(w >> (q + 127 - e) >> 1);  // c = 0 shifts by 128 in all
}

// Each byte with its bits in the reverse order, sixteen bytes a step: two
// table lookups, one per nibble, each giving the other nibble reversed.
void ReverseBytes(const uint8_t* from, uint8_t* to, int count) {
    int b = 0;
    const __m128i low = _mm_setr_epi8(0x00, 0x08, 0x04, 0x0C, 0x02, 0x0A, 0x06, 0x0E, 0x01, 0x09, 0x05, 0x0D, 0x03,
                                      0x0B, 0x07, 0x0F);
    const __m128i high = _mm_slli_epi16(low, 4);
    const __m128i nibble = _mm_set1_epi8(0x0F);
    for (; b + 16 <= count; b += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + b));
        const __m128i r = _mm_or_si128(_mm_shuffle_epi8(high, _mm_and_si128(v, nibble)),
                                       _mm_shuffle_epi8(low, _mm_and_si128(_mm_srli_epi16(v, 4), nibble)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + b), r);
    }
    for (; b < count; ++b) to[b] = ReversedByte(from[b]);
}
static_assert(ReversedByte(0x01) == 0x80 && ReversedByte(0x3A) == 0x5C);

}  // namespace

// A column pair's cells in the walk order are the rows of a 32-row chunk
// interleaved: downwards right cell (even bit) before left (odd bit), so the
// chunk's stream bits are deposited in order; upwards the bits are taken
// backwards from the end of the chunk's share, left cell even.
int PlaceBitsDeposit(uint8_t* matrix, int n, const uint8_t* sequence, int bits, const PlacementLines& lines) {
    const masks::Line* freeColumns = lines.freeColumns;
    masks::Line* columns = lines.columns;
    masks::Line* rows = lines.rows;
    uint8_t* scratch = lines.scratch;
    const int bytes = (bits + 7) / 8;
    uint8_t* msbFirst = scratch;
    uint8_t* lsbFirst = scratch + kPlacementScratch / 2;
    std::memcpy(msbFirst, sequence, static_cast<size_t>(bytes));
    std::memset(msbFirst + bytes, 0, 16);
    ReverseBytes(msbFirst, lsbFirst, bytes + 16);
    const int chunks = (n + 31) / 32;
    int position = 0;
    bool upward = true;
    for (int right = n - 1; right >= 1; right -= 2) {
        if (right == 6) right = 5;
        const masks::Line& fr = freeColumns[right];
        const masks::Line& fl = freeColumns[right - 1];
        int share = 0;
        for (int w = 0; w < 3; ++w) share += __builtin_popcountll(fr.w[w]) + __builtin_popcountll(fl.w[w]);
        int end = position + share;
        // Each column word is gathered in a register and stored once: OR-ing
        // into a Line in memory and copying it whole made each copy wait for
        // the stores it only partly overlaps.
        for (int w = 0; w < 3; ++w) {
            uint64_t r = 0, l = 0;
            for (int k = 2 * w; k < chunks && k < 2 * w + 2; ++k) {
                const int shift = 32 * (k % 2);
                const uint64_t freeRight = (fr.w[w] >> shift) & 0xFFFFFFFFu, freeLeft = (fl.w[w] >> shift) & 0xFFFFFFFFu;
                uint64_t rightBits, leftBits;
                if (upward) {
                    const uint64_t cells = _pdep_u64(freeLeft, kEven) | _pdep_u64(freeRight, kOdd);
                    const int count = __builtin_popcountll(cells);
                    const uint64_t placed = _pdep_u64(Backward(msbFirst, end, count), cells);
                    end -= count;
                    rightBits = _pext_u64(placed, kOdd);
                    leftBits = _pext_u64(placed, kEven);
                } else {
                    const uint64_t cells = _pdep_u64(freeRight, kEven) | _pdep_u64(freeLeft, kOdd);
                    const uint64_t placed = _pdep_u64(Forward(lsbFirst, position), cells);
                    position += __builtin_popcountll(cells);
                    rightBits = _pext_u64(placed, kEven);
                    leftBits = _pext_u64(placed, kOdd);
                }
                r |= rightBits << shift;
                l |= leftBits << shift;
            }
            columns[right].w[w] = r;
            columns[right - 1].w[w] = l;
        }
        if (upward) position += share;
        upward = !upward;
    }
    columns[6] = masks::Line{};
    TransposeLines(columns, rows, n);
    WriteDataBits(matrix, n, rows);
    return position;
}

}  // namespace mosaiko

MOSAIKO_TARGET_END

namespace mosaiko {
bool DepositPlacementAvailable() { return CpuHasFastBmi2(); }
}  // namespace mosaiko

#else

namespace mosaiko {
int PlaceBitsDeposit(uint8_t*, int, const uint8_t*, int, const PlacementLines&) {
    return -1;
}
bool DepositPlacementAvailable() { return false; }
}  // namespace mosaiko

#endif
