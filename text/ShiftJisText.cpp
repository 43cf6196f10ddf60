#include "ShiftJisText.h"

namespace mosaiko {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Control bytes that make data binary: all but TAB, LF and CR.
constexpr bool IsControlByte(uint8_t b) { return b < 0x20 && b != 0x09 && b != 0x0A && b != 0x0D; }

void AppendHexEscape(std::string& out, uint8_t b) {
    out += '~';
    out += kHexDigits[b >> 4];
    out += kHexDigits[b & 15];
    out += '~';
}

}  // namespace

bool IsSecondByte(std::string_view text, size_t p) {
    if (p >= text.size() || text[p] == 0) return false;
    size_t run = 0;
    while (run < p && IsLeadByte(static_cast<uint8_t>(text[p - 1 - run]))) ++run;
    return run % 2 == 1;
}

int FindSingleByte(char ch, std::string_view text, int start) {
    if (start < 1) start = 1;
    for (size_t p = static_cast<size_t>(start) - 1; p < text.size(); ++p)
        if (text[p] == ch && !IsSecondByte(text, p)) return static_cast<int>(p) + 1;
    return 0;
}

void AppendEscaped(std::string& out, std::string_view text) {
    // Stepping over double-byte characters as pairs finds the same second
    // bytes as IsSecondByte (odd run of lead bytes before, not 0).
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const auto u = static_cast<uint8_t>(c);
        if (IsLeadByte(u) && i + 1 < text.size() && text[i + 1] != 0) {
            out.push_back(c);
            out.push_back(text[++i]);
        } else if (IsLeadByte(u) && i + 1 == text.size()) {
            AppendHexEscape(out, u);  // raw, it would swallow the next tilde
        } else if (c == '~') {
            out += "~~";
        } else if (c == '\t') {
            AppendHexEscape(out, u);
        } else {
            out.push_back(c);
        }
    }
}

bool AppendUnescaped(std::string& out, std::string_view code, bool& control) {
    const int length = static_cast<int>(code.size());
    int pos = 1;
    while (pos <= length) {
        const int a = FindSingleByte('~', code, pos);
        if (a == 0) {
            out.append(code.substr(static_cast<size_t>(pos) - 1));
            break;
        }
        const int b = FindSingleByte('~', code, a + 1);
        if (b == 0 || (b - a - 1) % 2 != 0) return false;
        out.append(code.substr(static_cast<size_t>(pos) - 1, static_cast<size_t>(a - pos)));
        if (b == a + 1) out.push_back('~');
        for (int i = a + 1; i < b; i += 2) {
            const int hi = HexValue(code[static_cast<size_t>(i) - 1]);
            const int lo = HexValue(code[static_cast<size_t>(i)]);
            if (hi < 0 || lo < 0) return false;
            const auto byte = static_cast<uint8_t>(hi * 16 + lo);
            if (IsControlByte(byte)) control = true;
            out.push_back(static_cast<char>(byte));
        }
        pos = b + 1;
    }
    return true;
}

std::optional<std::string> Unescaped(std::string_view code) {
    std::string out;
    out.reserve(code.size());
    bool control = false;
    if (!AppendUnescaped(out, code, control)) return std::nullopt;
    return out;
}

}  // namespace mosaiko
