// Byte classes of Shift-JIS text, which stays undecoded here.
#pragma once

namespace mosaiko {

// First byte of a Shift-JIS double-byte character.
inline bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

}  // namespace mosaiko
