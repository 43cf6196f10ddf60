// Reads a code text back the way the QR control reads it with escapes on:
// "~~" is one "~", "~" + hex pairs + "~" are those bytes, and a "~" that is the
// second byte of a double-byte character is plain text. Lets callers check
// that an assembled group reads back to its line texts.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace mosaiko {

// nullopt when the escapes are malformed (the control would then take the
// text literally).
std::optional<std::string> ReadCodeText(std::string_view code);

}  // namespace mosaiko
