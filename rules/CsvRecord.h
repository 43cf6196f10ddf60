// Comma-separated records as spreadsheets write them (RFC 4180): a field that
// starts with a double quote runs to the closing quote, "" inside it stands
// for one quote, and line breaks inside it belong to the field. The import
// keeps such a line break as a line feed (LF) in the record it joins.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace mosaiko {

// The index in `rest` (the bytes after an opening quote) of the quote that
// closes the field; npos while the field is still open at the end of `rest`.
std::size_t QuotedFieldEnd(std::string_view rest);

// Appends the raw bytes of a quoted field (as QuotedFieldEnd delimits them)
// with each "" as one quote.
void AppendUnquoted(std::string& out, std::string_view raw);

// Whether a record read up to the end of `line` is inside an open quoted
// field; `startsInQuotes` says the line continues one.
bool CsvEndsInQuotes(std::string_view line, bool startsInQuotes);

// The fields of a whole record, unquoted; a field still open at the end runs
// to the end of the record.
std::vector<std::string> CsvFields(std::string_view record);

// The group text of a record: its fields after the first, joined by ",".
std::string CsvRecordText(std::string_view record);

}  // namespace mosaiko
