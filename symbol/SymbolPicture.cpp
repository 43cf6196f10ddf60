#include "SymbolPicture.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <vector>

#include "BlackWhiteLine.h"

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

// One pixel a module: the module bits moved right by the quiet zone.
void DarkPixelsOneToOne(const uint64_t* dark, int words, int corner, std::vector<uint64_t>& pixels) {
    // Words past the pixels hold no module (the row's words beyond n are 0).
    const size_t count = std::min(pixels.size(), static_cast<size_t>(words));
    for (size_t w = 0; w < count; ++w) {
        pixels[w] |= dark[w] << corner;
        if (corner > 0 && w + 1 < pixels.size()) pixels[w + 1] |= dark[w] >> (64 - corner);
    }
}

// Pixels at or past the picture's side are cut off, as the picture cuts them.
void ClearFrom(int side, std::vector<uint64_t>& pixels) {
    for (size_t w = 0; w < pixels.size(); ++w) {
        const int low = static_cast<int>(64 * w);
        if (side <= low) pixels[w] = 0;
        else if (side < low + 64) pixels[w] &= (uint64_t{1} << (side - low)) - 1;
    }
}

// The row's pixels as image bytes, eight at a time: dark bits become black
// (0), and each byte's leftmost pixel its top bit.
void StoreLine(const std::vector<uint64_t>& pixels, int bytes, uint8_t* line) {
    for (int b = 0; b < bytes; b += 8) {
        const uint64_t out = ~ReversedBitsInBytes(pixels[static_cast<size_t>(b >> 3)]);
        const int count = std::min(8, bytes - b);
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(line + b, &out, static_cast<size_t>(count));
        } else {
            for (int k = 0; k < count; ++k) line[b + k] = static_cast<uint8_t>(out >> (8 * k));
        }
    }
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

// Straight from the module bits to the 1-bit rows: each module row's pixel
// row is made once (dark pixels as set bits, lowest bit leftmost), turned
// into the image's byte order and copied to its pxmag pixel rows.
QImage SymbolImage(const SymbolResult& result, int limit) {
    if (!result.made || !result.matrix) return QImage();
    const int side = std::min(result.sidePixels, limit);
    QImage mono(side, side, QImage::Format_Mono);
    if (mono.isNull()) return mono;
    mono.setColorTable({kOpaqueBlack, kOpaqueWhite});
    const int corner = result.QuietZonePixels();
    const int mag = result.pxmag;
    const int n = result.modules;
    const int bytes = (side + 7) / 8;
    const SymbolModules modules(result.matrix, n, corner, corner, mag);
    const TCellGrid& grid = modules.Grid();
    uint8_t* const first = mono.bits();
    const qsizetype perLine = mono.bytesPerLine();
    const auto lineAt = [&](int y) { return first + y * perLine; };
    for (int y = 0; y < std::min(corner, side); ++y) std::memset(lineAt(y), 0xFF, static_cast<size_t>(bytes));
    std::vector<uint64_t> pixels(static_cast<size_t>(BitWords(corner * 2 + n * mag)));
    int y = corner;
    for (int r = 0; r < n && y < side; ++r) {
        std::fill(pixels.begin(), pixels.end(), 0);
        const uint64_t* dark = grid.dark + static_cast<size_t>(r) * grid.stride;
        if (mag == 1) {
            DarkPixelsOneToOne(dark, grid.stride, corner, pixels);
        } else {
            for (int w = 0; w < grid.stride; ++w) {
                for (uint64_t bits = dark[w]; bits != 0; bits &= bits - 1) {
                    const int first = corner + (64 * w + std::countr_zero(bits)) * mag;
                    for (int x = first; x < first + mag; ++x) pixels[x >> 6] |= uint64_t{1} << (x & 63);
                }
            }
        }
        ClearFrom(side, pixels);
        uint8_t* line = lineAt(y);
        StoreLine(pixels, bytes, line);
        for (int k = 1; k < mag && y + k < side; ++k) std::memcpy(lineAt(y + k), line, static_cast<size_t>(bytes));
        y += mag;
    }
    for (; y < side; ++y) std::memset(lineAt(y), 0xFF, static_cast<size_t>(bytes));
    return mono;
}

}  // namespace mosaiko
