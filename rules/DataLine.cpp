#include "DataLine.h"

#include <limits>

#include "CsvRecord.h"

namespace mosaiko {
namespace {

constexpr char kQuote = '"';

bool IsBlank(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 1 && u <= 32;
}

// Where the raw first field lies; for a quoted field the span is between the
// quotes and still holds any doubled quotes.
struct FieldSpan {
    bool found = false;
    bool quoted = false;
    std::string_view raw;
};

// No closing quote: the field runs to the end of the line.
std::string_view QuotedRaw(std::string_view rest) { return rest.substr(0, QuotedFieldEnd(rest)); }

FieldSpan FindField(std::string_view line) {
    std::size_t start = 0;
    while (start < line.size() && IsBlank(line[start])) ++start;
    if (start == line.size()) return {};
    std::string_view rest = line.substr(start);
    if (rest.front() == kQuote) return {true, true, QuotedRaw(rest.substr(1))};
    std::size_t end = 0;
    while (end < rest.size() && rest[end] != ',' && static_cast<unsigned char>(rest[end]) > 32) ++end;
    return {true, false, rest.substr(0, end)};
}

bool AllDigits(std::string_view field) {
    for (const char c : field) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

}  // namespace

std::optional<std::string> FirstField(std::string_view line) {
    const FieldSpan span = FindField(line);
    if (!span.found) return std::nullopt;
    if (!span.quoted) return std::string(span.raw);
    std::string field;
    AppendUnquoted(field, span.raw);
    return field;
}

LineClass ClassifyLine(std::string_view line) {
    if (line.empty()) return {};
    // The raw span is enough: a field with a quote in it is not all digits.
    const FieldSpan span = FindField(line);
    if (!span.found) return {LineKind::Unusable, 0};
    if (span.raw.empty() || !AllDigits(span.raw)) return {};
    std::int64_t value = 0;
    for (const char c : span.raw) {
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<std::int32_t>::max()) return {LineKind::Unusable, 0};
    }
    return {LineKind::Data, static_cast<std::int32_t>(value)};
}

}  // namespace mosaiko
