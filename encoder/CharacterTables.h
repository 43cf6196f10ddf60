// Character tables of the data encoding: the alphanumeric set, the class a
// byte has when it starts a character, and the Shift-JIS Kanji trail bytes.
#pragma once

#include <array>
#include <cstdint>

#include "ShiftJisText.h"

namespace mosaiko::tables {

// Values of the standard's 45-character alphanumeric set; -1 elsewhere.
inline constexpr std::array<int8_t, 128> kAlphanumericValue = [] {
    std::array<int8_t, 128> t{};
    for (auto& v : t) v = -1;
    for (int c = '0'; c <= '9'; ++c) t[c] = static_cast<int8_t>(c - '0');
    for (int c = 'A'; c <= 'Z'; ++c) t[c] = static_cast<int8_t>(c - 'A' + 10);
    const char extra[] = " $%*+-./:";
    for (int i = 0; i < 9; ++i) t[static_cast<uint8_t>(extra[i])] = static_cast<int8_t>(36 + i);
    return t;
}();
static_assert(kAlphanumericValue['0'] == 0 && kAlphanumericValue['Z'] == 35);
static_assert(kAlphanumericValue[' '] == 36 && kAlphanumericValue[':'] == 44 && kAlphanumericValue['a'] == -1);

// The standard's Shift-JIS Kanji lead bytes.
constexpr bool IsKanjiLead(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xEB); }

// Class of a byte that starts a character: 0 digit, 1 other alphanumeric,
// 2 byte, 3 Kanji lead byte (the standard's Shift-JIS ranges 0x81-0x9F, 0xE0-0xEB).
inline constexpr std::array<uint8_t, 256> kCharClass = [] {
    std::array<uint8_t, 256> t{};
    for (int b = 0; b < 256; ++b) {
        if (b < 128 && kAlphanumericValue[b] >= 0) t[b] = b <= '9' && b >= '0' ? 0 : 1;
        else if (IsKanjiLead(static_cast<uint8_t>(b))) t[b] = 3;
        else t[b] = 2;
    }
    return t;
}();
static_assert(kCharClass['7'] == 0 && kCharClass['$'] == 1 && kCharClass['a'] == 2);
static_assert(kCharClass[0x80] == 2 && kCharClass[0xA0] == 2 && kCharClass[0xEB] == 3 && kCharClass[0xEC] == 2);

constexpr bool IsKanjiTrail(uint8_t b) { return IsTrailByte(b); }

// The standard's Kanji range ends at 0xEBBF: a pair beyond it would need a
// 14th bit, so it is not a Kanji character (its low 13 bits would decode as
// a different one).
constexpr bool IsKanjiPair(uint8_t lead, uint8_t trail) {
    return IsKanjiLead(lead) && IsKanjiTrail(trail) && !(lead == 0xEB && trail > 0xBF);
}

// Class of the character starting at text[0] with `remaining` bytes left
// (-1 when none): a Kanji lead byte without its trail byte is a byte.
constexpr int CharClassAt(const uint8_t* text, int remaining) {
    if (remaining < 1) return -1;
    const int cls = kCharClass[text[0]];
    if (cls != 3) return cls;
    return remaining >= 2 && IsKanjiPair(text[0], text[1]) ? 3 : 2;
}

// 13-bit value of a Kanji character: subtract 0x8140 or 0xC140, then high byte
// times 0xC0 plus low byte.
constexpr uint32_t KanjiValue(uint8_t lead, uint8_t trail) {
    const uint32_t base = lead <= 0x9F ? (lead - 0x81u) * 0xC0u : (lead - 0xC1u) * 0xC0u;
    return base + (trail - 0x40u);
}
static_assert(KanjiValue(0x93, 0x5F) == 0x0D9F && KanjiValue(0xE4, 0xAA) == 0x1AAA);
static_assert(KanjiValue(0xEB, 0xBF) == 0x1FFF);

}  // namespace mosaiko::tables
