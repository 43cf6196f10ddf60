#include "Placement.h"

#include <algorithm>
#include <array>
#include <cstring>

#if defined(__SSSE3__)
#include <tmmintrin.h>
#endif

#include "MaskSearch.h"
#include "MatrixSteps.h"
#include "QrEncoder.h"

namespace mosaiko {
namespace {

// One cell of the walk, without a branch on the data: the bits are random,
// so a branch on them would be mispredicted half the time. Past the last bit
// (the remainder cells) the data bit stays 0.
inline void PlaceCell(uint8_t* cell, uint64_t& column, int row, const uint8_t* sequence, int bits, int& i) {
    const unsigned value = *cell;
    const unsigned free = ((value / kFunctionBit) & 1) ^ 1;
    const int k = std::min(i, bits - 1);
    const unsigned bit = (sequence[k >> 3] >> (7 - (k & 7))) & free & static_cast<unsigned>(i < bits);
    *cell = static_cast<uint8_t>(value | bit);
    column |= uint64_t{bit} << (row & 63);
    i += static_cast<int>(free);
}

}  // namespace

// Column pairs from the right edge, upwards in the first pair, downwards in
// the next, right cell before left cell; function cells are passed over and
// the timing column is skipped. The rows are walked 64 at a time so that each
// column word is gathered in a register.
int PlaceBitsPortable(uint8_t* matrix, int n, const uint8_t* sequence, int bits, const PlacementLines& lines) {
    masks::Line* columns = lines.columns;
    const int words = (n + 63) / 64;
    int i = 0;
    bool upward = true;
    for (int right = n - 1; right >= 1; right -= 2) {
        if (right == 6) right = 5;
        masks::Line r{}, l{};
        for (int s = 0; s < words; ++s) {
            const int w = upward ? words - 1 - s : s;
            const int low = 64 * w, high = std::min(n, low + 64) - 1;
            uint64_t wr = 0, wl = 0;
            auto place = [&](int row) {
                uint8_t* cells = matrix + row * kMaxModules;
                PlaceCell(cells + right, wr, row, sequence, bits, i);
                PlaceCell(cells + right - 1, wl, row, sequence, bits, i);
            };
            if (upward)
                for (int row = high; row >= low; --row) place(row);
            else
                for (int row = low; row <= high; ++row) place(row);
            r.w[w] = wr;
            l.w[w] = wl;
        }
        columns[right] = r;
        columns[right - 1] = l;
        upward = !upward;
    }
    columns[6] = masks::Line{};  // the timing column holds function modules only
    TransposeLines(columns, lines.rows, n);
    return i;
}

// Eight cells a step: each byte of a row line becomes eight cell bytes of 0
// or 1 (the reference of the sixteen-cell step).
void WriteDataBitsPlain(uint8_t* matrix, int n, const masks::Line* rows) {
    static constexpr auto kSpread = [] {
        std::array<uint64_t, 256> t{};
        for (int b = 0; b < 256; ++b)
            for (int i = 0; i < 8; ++i)
                if ((b >> i) & 1) t[b] |= uint64_t{kDataBit} << (8 * i);
        return t;
    }();
    for (int r = 0; r < n; ++r) {
        uint8_t* row = matrix + r * kMaxModules;
        for (int c = 0; c < n; c += 8) {
            const uint64_t spread = kSpread[(rows[r].w[c / 64] >> (c % 64)) & 0xFF];
            if (c + 8 > kMaxModules) {  // the last cell of a version-40 row; nothing lies beyond the array
                row[c] |= static_cast<uint8_t>(spread);
                continue;
            }
            uint64_t cells;  // cells beyond n get 0 bits: their row bits are 0
            std::memcpy(&cells, row + c, 8);
            cells |= spread;
            std::memcpy(row + c, &cells, 8);
        }
    }
}

// Thirty-two cells a step where the CPU has AVX2, else sixteen.
void WriteDataBits(uint8_t* matrix, int n, const masks::Line* rows) {
    static const bool wide = MatrixStepsAvx2Available();
    if (wide) WriteDataBitsAvx2(matrix, n, rows);
    else WriteDataBitsSixteen(matrix, n, rows);
}

// Sixteen cells a step: the 16 bits go to every byte of their half (lower
// byte to cells 0-7), each byte keeps its own bit and becomes 0 or 1.
void WriteDataBitsSixteen(uint8_t* matrix, int n, const masks::Line* rows) {
#if defined(__SSSE3__)
    const __m128i halves = _mm_setr_epi8(0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1);
    const __m128i own = _mm_set1_epi64x(static_cast<long long>(0x8040201008040201ull));
    const __m128i data = _mm_set1_epi8(kDataBit);
    for (int r = 0; r < n; ++r) {
        uint8_t* row = matrix + r * kMaxModules;
        int c = 0;
        for (; c < n && c + 16 <= kMaxModules; c += 16) {  // cells beyond n get 0 bits: their row bits are 0
            const auto bits = static_cast<int>((rows[r].w[c / 64] >> (c % 64)) & 0xFFFF);
            const __m128i spread = _mm_shuffle_epi8(_mm_set1_epi16(static_cast<short>(bits)), halves);
            const __m128i set = _mm_and_si128(_mm_cmpeq_epi8(_mm_and_si128(spread, own), own), data);
            __m128i* cells = reinterpret_cast<__m128i*>(row + c);
            _mm_storeu_si128(cells, _mm_or_si128(_mm_loadu_si128(cells), set));
        }
        if (c < n)  // the last cell of a version-40 row; nothing lies beyond the array
            row[c] |= static_cast<uint8_t>(((rows[r].w[c / 64] >> (c % 64)) & 1) * kDataBit);
    }
#else
    WriteDataBitsPlain(matrix, n, rows);
#endif
}

int PlaceCodewordBits(uint8_t* matrix, int n, const uint8_t* sequence, int bits, const PlacementLines& lines) {
    static const bool deposit = DepositPlacementAvailable();
    return deposit ? PlaceBitsDeposit(matrix, n, sequence, bits, lines)
                   : PlaceBitsPortable(matrix, n, sequence, bits, lines);
}

}  // namespace mosaiko
