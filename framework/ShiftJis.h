// Text stays Shift-JIS bytes everywhere; it is decoded (code page 932) only to
// be shown or drawn, and encoded only where a user types text on screen.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace mosaiko {

// Bytes that are not valid CP932 become U+FFFD; nothing is dropped silently.
QString DecodeShiftJis(std::string_view bytes);
// Characters CP932 cannot represent become "?".
std::string EncodeShiftJis(const QString& text);

}  // namespace mosaiko
