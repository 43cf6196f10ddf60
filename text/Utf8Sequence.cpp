#include "Utf8Sequence.h"

namespace mosaiko {

Utf8Lead ClassifyUtf8Lead(unsigned char c) {
    if (c < 0x80) return {0};
    if (c >= 0xC2 && c <= 0xDF) return {1};
    if (c == 0xE0) return {2, 0xA0, 0xBF};
    if (c == 0xED) return {2, 0x80, 0x9F};
    if (c >= 0xE1 && c <= 0xEF) return {2};
    if (c == 0xF0) return {3, 0x90, 0xBF};
    if (c >= 0xF1 && c <= 0xF3) return {3};
    if (c == 0xF4) return {3, 0x80, 0x8F};
    return {};
}

std::size_t Utf8SequenceLength(std::string_view text) {
    if (text.empty()) return 0;
    const Utf8Lead lead = ClassifyUtf8Lead(static_cast<unsigned char>(text[0]));
    if (lead.need < 0 || text.size() < static_cast<std::size_t>(lead.need) + 1) return 0;
    for (int i = 1; i <= lead.need; ++i) {
        const auto c = static_cast<unsigned char>(text[static_cast<std::size_t>(i)]);
        const unsigned char low = i == 1 ? lead.low : 0x80, high = i == 1 ? lead.high : 0xBF;
        if (c < low || c > high) return 0;
    }
    return static_cast<std::size_t>(lead.need) + 1;
}

}  // namespace mosaiko
