// Rules of Shift-JIS text kept as undecoded bytes, and the tilde escapes that
// let a text carry any bytes: one home for both, used by the encoder's driver,
// the import rules, group assembly and the metafile writers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mosaiko {

// Lead byte of a Shift-JIS double-byte character (code page 932), fixed
// whatever the host's code page is.
constexpr bool IsLeadByte(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Second byte of a Shift-JIS double-byte character: 0x40-0xFC but 0x7F.
constexpr bool IsTrailByte(uint8_t b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

// Byte length of the character that starts at position i: 2 for a lead byte
// with a byte after it, else 1.
constexpr size_t CharacterLength(std::string_view text, size_t i) {
    return IsLeadByte(static_cast<uint8_t>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

// Whether the byte at 0-based position p is the second byte of a double-byte
// character: it is not 0 and an odd run of lead bytes stands right before it.
bool IsSecondByte(std::string_view text, size_t p);

// 1-based position of the first `ch` at or after `start` that is not the
// second byte of a double-byte character; 0 when there is none.
int FindSingleByte(char ch, std::string_view text, int start);

// Appends a text with tilde escapes: "~" as "~~", tab as "~09~". The second
// byte of a double-byte character is copied as it is, and a lead byte left
// dangling at the end is written as a hex escape, so the escapes that follow
// are still read as escapes.
void AppendEscaped(std::string& out, std::string_view text);

// Reads the escapes back: "~~" is one tilde, "~" + pairs of hexadecimal
// digits + "~" are the bytes they spell; a tilde that is a second byte is
// plain text. False (out then holds a part) for an unpaired tilde, an odd
// number of digits or a non-digit. `control` is set when an escape spelt a
// control byte other than TAB, LF and CR.
bool AppendUnescaped(std::string& out, std::string_view code, bool& control);

// The bytes a code text spells, or nullopt when its escapes are malformed.
std::optional<std::string> Unescaped(std::string_view code);

}  // namespace mosaiko
