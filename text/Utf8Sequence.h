// The shape of a well-formed UTF-8 sequence: one home for the rule that the
// encoding check, the line converter and the CP932 converter share.
#pragma once

#include <cstddef>
#include <string_view>

namespace mosaiko {

// How many continuation bytes follow a lead byte (-1: the byte cannot start a
// sequence), and the range of the first one, which excludes overlong forms,
// surrogates and values above U+10FFFF.
struct Utf8Lead {
    int need = -1;
    unsigned char low = 0x80, high = 0xBF;
};

Utf8Lead ClassifyUtf8Lead(unsigned char c);

// Length of the valid UTF-8 sequence starting `text`, or 0.
std::size_t Utf8SequenceLength(std::string_view text);

}  // namespace mosaiko
