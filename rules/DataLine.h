// Which lines of an imported file are data lines, and their numbers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mosaiko {

// The first comma-separated field of a line: leading bytes 1-32 are skipped; a
// double quote starts a quoted field in which "" stands for one quote (an
// unterminated quote runs to the end of the line); otherwise the field runs up
// to the first comma or byte of 32 or less. nullopt: the line has no field.
std::optional<std::string> FirstField(std::string_view line);

enum class LineKind {
    Skip,      // not a data line; left out without a message
    Data,      // a data line with its number
    Unusable,  // the import must end with the "unusable data" message
};

struct LineClass {
    LineKind kind = LineKind::Skip;
    std::int32_t number = 0;  // only for Data
};

// Data line: a first field of digits only whose value fits a signed 32-bit
// integer (leading zeros allowed). Unusable: digits that do not fit, or a
// non-empty line with no field at all (only bytes 1-32).
LineClass ClassifyLine(std::string_view line);

}  // namespace mosaiko
