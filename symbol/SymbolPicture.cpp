#include "SymbolPicture.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "Bitmap.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace mosaiko {
namespace {

// Bit k set when cell k of the 16 is dark: the dark flag of each byte moved
// to its sign bit and gathered with one movemask.
uint32_t Gather16(const uint8_t* cells) {
#if defined(__SSE2__)
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(cells));
    return static_cast<uint32_t>(_mm_movemask_epi8(_mm_slli_epi16(v, 7 - std::countr_zero(kDarkBit))));
#else
    uint32_t bits = 0;
    for (int k = 0; k < 16; ++k) bits |= static_cast<uint32_t>((cells[k] & kDarkBit) != 0) << k;
    return bits;
#endif
}

}  // namespace

SymbolModules::SymbolModules(const uint8_t* matrix, int n, int left, int top, int pxmag) {
    for (int r = 0; r < n; ++r) {
        const uint8_t* cells = matrix + static_cast<size_t>(r) * kMaxModules;
        uint64_t row[kStride] = {};
        int c = 0;
        for (; c + 16 <= n; c += 16) row[c >> 6] |= uint64_t{Gather16(cells + c)} << (c & 63);
        // The row's last 16 cells (a symbol has 21 or more), those before c shifted out.
        if (c < n) row[c >> 6] |= uint64_t{Gather16(cells + n - 16) >> (c + 16 - n)} << (c & 63);
        std::memcpy(words_ + r * kStride, row, sizeof row);
    }
    grid_.left = left;
    grid_.top = top;
    grid_.cellWidth = pxmag;
    grid_.cellHeight = pxmag;
    grid_.columns = n;
    grid_.rows = n;
    grid_.dark = words_;
    grid_.stride = kStride;
}

QImage SymbolImage(const SymbolResult& result, int limit) {
    if (!result.made || !result.matrix) return QImage();
    const int side = std::min(result.sidePixels, limit);
    TBitmap bitmap(side, side);  // white: the light modules and the quiet zone
    const int corner = result.QuietZonePixels();
    const SymbolModules modules(result.matrix, result.modules, corner, corner, result.pxmag);
    bitmap.FillCells(modules.Grid(), clBlack);
    return bitmap.ToMonoQImage();
}

}  // namespace mosaiko
