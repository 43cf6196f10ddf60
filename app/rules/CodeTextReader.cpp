#include "CodeTextReader.h"

#include <vector>

#include "ShiftJisBytes.h"

namespace mosaiko {
namespace {

// Positions of the tildes that are real tildes: not 0, and not after an odd
// run of lead bytes.
std::vector<std::size_t> SingleTildes(std::string_view code) {
    std::vector<std::size_t> tildes;
    std::size_t run = 0;
    for (std::size_t p = 0; p < code.size(); ++p) {
        const auto u = static_cast<unsigned char>(code[p]);
        if (u == '~' && run % 2 == 0) tildes.push_back(p);
        run = IsLeadByte(u) ? run + 1 : 0;
    }
    return tildes;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool AppendHexPairs(std::string& out, std::string_view pairs) {
    if (pairs.size() % 2 != 0) return false;
    for (std::size_t i = 0; i < pairs.size(); i += 2) {
        const int high = HexValue(pairs[i]);
        const int low = HexValue(pairs[i + 1]);
        if (high < 0 || low < 0) return false;
        out.push_back(static_cast<char>(high * 16 + low));
    }
    return true;
}

}  // namespace

std::optional<std::string> ReadCodeText(std::string_view code) {
    const std::vector<std::size_t> tildes = SingleTildes(code);
    std::string out;
    out.reserve(code.size());
    std::size_t pos = 0;
    for (std::size_t t = 0; t < tildes.size(); t += 2) {
        if (t + 1 == tildes.size()) return std::nullopt;  // no closing tilde
        const std::size_t a = tildes[t];
        const std::size_t b = tildes[t + 1];
        out.append(code.substr(pos, a - pos));
        if (b == a + 1) {
            out.push_back('~');
        } else if (!AppendHexPairs(out, code.substr(a + 1, b - a - 1))) {
            return std::nullopt;
        }
        pos = b + 1;
    }
    out.append(code.substr(pos));
    return out;
}

}  // namespace mosaiko
