// Arithmetic in GF(256) with the QR Code polynomial x^8 + x^4 + x^3 + x^2 + 1
// (0x11D) and primitive element 2, and the Reed-Solomon generator polynomials.
#pragma once

#include <array>
#include <cstdint>

namespace mosaiko::gf {

// exp[i] = 2^i for i = 0..254, exp[255] = 1.
inline constexpr std::array<uint8_t, 256> kExp = [] {
    std::array<uint8_t, 256> t{};
    unsigned x = 1;
    for (int i = 0; i < 255; ++i) {
        t[i] = static_cast<uint8_t>(x);
        x <<= 1;
        if (x & 0x100) x ^= 0x11D;
    }
    t[255] = 1;
    return t;
}();

// log[x] = i with 2^i = x for x = 1..255; log[0] is unused.
inline constexpr std::array<uint8_t, 256> kLog = [] {
    std::array<uint8_t, 256> t{};
    for (int i = 0; i < 255; ++i) t[kExp[i]] = static_cast<uint8_t>(i);
    return t;
}();

static_assert(kExp[8] == 29 && kExp[9] == 58 && kExp[255] == 1);
static_assert(kLog[1] == 0 && kLog[2] == 1 && kLog[3] == 25 && kLog[4] == 2);

constexpr uint8_t Multiply(uint8_t a, uint8_t b) {
    if (a == 0 || b == 0) return 0;
    return kExp[(kLog[a] + kLog[b]) % 255];
}

// The most error-correction codewords one block has in any symbol (40-H and others).
inline constexpr int kMaxGeneratorDegree = 30;
inline constexpr int kGeneratorRows = kMaxGeneratorDegree + 1;
inline constexpr int kGeneratorColumns = kMaxGeneratorDegree;

constexpr bool HasGenerator(int n) {
    return n == 7 || n == 10 || n == 13 || n == 15 || n == 16 || n == 17 || n == 18 ||
           (n >= 20 && n <= kMaxGeneratorDegree && n % 2 == 0);
}

// Row n holds the exponents of the coefficients of
// g(x) = (x - 2^0)(x - 2^1)...(x - 2^(n-1)) below the leading term, from x^(n-1)
// down to x^0. Rows exist for the degrees the symbols use (7 to 30).
inline constexpr auto kGenerator = [] {
    std::array<std::array<uint8_t, kGeneratorColumns>, kGeneratorRows> rows{};
    for (int n = 1; n < kGeneratorRows; ++n) {
        if (!HasGenerator(n)) continue;
        // Coefficients, highest power first, leading 1 included.
        std::array<uint8_t, kGeneratorColumns + 1> poly{};
        poly[0] = 1;
        for (int i = 0; i < n; ++i) {
            const uint8_t root = kExp[i];
            for (int j = i + 1; j > 0; --j) poly[j] = static_cast<uint8_t>(poly[j] ^ Multiply(poly[j - 1], root));
        }
        for (int j = 0; j < n; ++j) rows[n][j] = kLog[poly[j + 1]];
    }
    return rows;
}();

static_assert(kGenerator[7][0] == 87 && kGenerator[7][1] == 229 && kGenerator[7][2] == 146 &&
              kGenerator[7][3] == 149 && kGenerator[7][4] == 238 && kGenerator[7][5] == 102 &&
              kGenerator[7][6] == 21);
static_assert(kGenerator[10][0] == 251 && kGenerator[10][9] == 45);

}  // namespace mosaiko::gf
