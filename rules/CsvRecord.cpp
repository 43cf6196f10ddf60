#include "CsvRecord.h"

namespace mosaiko {
namespace {

constexpr char kQuote = '"';

// Walks a record from its start (or from inside a quoted field) and hands out
// its fields when `fields` is given. Shift-JIS second bytes are 0x40 and up,
// so neither a quote nor a comma is ever part of a double-byte character.
bool ScanRecord(std::string_view text, bool inQuotes, std::vector<std::string>* fields) {
    std::string field;
    bool fieldStart = !inQuotes;
    std::size_t i = 0;
    for (;;) {
        if (inQuotes) {
            const std::string_view rest = text.substr(i);
            const std::size_t end = QuotedFieldEnd(rest);
            if (fields) AppendUnquoted(field, rest.substr(0, end));
            if (end == std::string_view::npos) break;
            i += end + 1;
            inQuotes = false;
            continue;
        }
        if (i == text.size()) break;
        const char c = text[i++];
        if (c == ',') {
            if (fields) fields->push_back(std::move(field));
            field.clear();
            fieldStart = true;
        } else if (c == kQuote && fieldStart) {
            inQuotes = true;
            fieldStart = false;
        } else {
            fieldStart = false;
            if (fields) field.push_back(c);
        }
    }
    if (fields) fields->push_back(std::move(field));
    return inQuotes;
}

}  // namespace

std::size_t QuotedFieldEnd(std::string_view rest) {
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] != kQuote) continue;
        if (i + 1 < rest.size() && rest[i + 1] == kQuote) {
            ++i;
            continue;
        }
        return i;
    }
    return std::string_view::npos;
}

void AppendUnquoted(std::string& out, std::string_view raw) {
    for (std::size_t i = 0; i < raw.size(); ++i) {
        out.push_back(raw[i]);
        if (raw[i] == kQuote) ++i;  // "" inside the quotes is one quote
    }
}

bool CsvEndsInQuotes(std::string_view line, bool startsInQuotes) { return ScanRecord(line, startsInQuotes, nullptr); }

std::vector<std::string> CsvFields(std::string_view record) {
    std::vector<std::string> fields;
    ScanRecord(record, false, &fields);
    return fields;
}

std::string CsvRecordText(std::string_view record) {
    const std::vector<std::string> fields = CsvFields(record);
    std::string text;
    for (std::size_t i = 1; i < fields.size(); ++i) {
        if (i > 1) text += ',';
        text += fields[i];
    }
    return text;
}

}  // namespace mosaiko
