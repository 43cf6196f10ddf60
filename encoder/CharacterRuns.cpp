#include "CharacterRuns.h"

#include <array>
#include <bit>
#include <cassert>

#include "CharacterTables.h"

#if defined(__SSSE3__)
#include <tmmintrin.h>
#endif

namespace mosaiko {
namespace {

using tables::CharClassAt;
using tables::kCharClass;

// A byte's class from its two nibbles: each group is one high nibble with
// the low nibbles of its class there; lo[low] & hi[high] has the byte's
// groups. Bit 0 digits, bits 1-4 other alphanumeric, bits 5-7 Kanji lead
// bytes, no bit a byte.
struct NibbleGroup {
    int high;
    int cls;
};
constexpr NibbleGroup kGroups[8] = {{3, 0}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {8, 3}, {9, 3}, {0xE, 3}};
constexpr uint8_t kClassGroups[4] = {0x01, 0x1E, 0x00, 0xE0};

constexpr std::array<uint8_t, 16> kHighGroups = [] {
    std::array<uint8_t, 16> t{};
    for (int g = 0; g < 8; ++g) t[kGroups[g].high] |= static_cast<uint8_t>(1 << g);
    return t;
}();

constexpr std::array<uint8_t, 16> kLowGroups = [] {
    std::array<uint8_t, 16> t{};
    for (int g = 0; g < 8; ++g)
        for (int low = 0; low < 16; ++low)
            if (kCharClass[kGroups[g].high * 16 + low] == kGroups[g].cls) t[low] |= static_cast<uint8_t>(1 << g);
    return t;
}();

constexpr bool NibbleClassesMatch() {
    for (int b = 0; b < 256; ++b) {
        const int groups = kLowGroups[b & 15] & kHighGroups[b >> 4];
        int cls = 2;
        for (int c : {0, 1, 3})
            if (groups & kClassGroups[c]) cls = c;
        if (cls != kCharClass[b] || (groups & ~kClassGroups[cls]) != 0) return false;
    }
    return true;
}
static_assert(NibbleClassesMatch(), "the nibble groups give every byte its class");

#if defined(__SSSE3__)
// Bit i set where byte i of the 16 may end a run of class cls; a Kanji lead
// byte ends a byte run only when it starts a pair, which the caller checks.
inline unsigned RunEnds16(const uint8_t* text, int cls) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text));
    const __m128i nibble = _mm_set1_epi8(0x0F);
    const __m128i low = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(kLowGroups.data())),
                                         _mm_and_si128(v, nibble));
    const __m128i high = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(kHighGroups.data())),
                                          _mm_and_si128(_mm_srli_epi16(v, 4), nibble));
    const uint8_t select = cls == 2 ? 0xFF : kClassGroups[cls];
    const __m128i selected = _mm_and_si128(_mm_and_si128(low, high), _mm_set1_epi8(static_cast<char>(select)));
    const auto none = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(selected, _mm_setzero_si128())));
    return cls == 2 ? none ^ 0xFFFFu : none;  // a byte run goes on where no group is set
}
#endif

}  // namespace

int ClassRunLengthPlain(const uint8_t* text, int length, int cls) {
    int k = 0;
    while (k < length && CharClassAt(text + k, length - k) == cls) ++k;
    return k;
}

// Sixteen bytes a step up to the first that may end the run; that one and
// the last few bytes are decided one at a time.
int ClassRunLength(const uint8_t* text, int length, int cls) {
    assert(cls >= 0 && cls <= 2);
    int k = 0;
    while (k < length) {
#if defined(__SSSE3__)
        if (length - k >= 16) {
            const unsigned ends = RunEnds16(text + k, cls);
            if (ends == 0) {
                k += 16;
                continue;
            }
            k += std::countr_zero(ends);
        }
#endif
        if (CharClassAt(text + k, length - k) != cls) break;
        ++k;
    }
    return k;
}

}  // namespace mosaiko
