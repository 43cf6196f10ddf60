// The import of a text or CSV file into the view's lines: data lines kept in
// file order, a separator line before every group but the first.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "DataLine.h"
#include "Grouping.h"
#include "LineReader.h"
#include "MemoLines.h"
#include "Utf8Input.h"

namespace mosaiko {

// Takes the lines of a file one at a time and fills the view.
class Importer {
public:
    // Empties `memo`; it must outlive the importer.
    explicit Importer(MemoLines& memo);
    // False when the line is unusable data: the import must end there.
    bool Take(std::string_view line);
    std::int64_t LineCount() const { return grouping_.LineCount(); }
    std::int64_t GroupCount() const { return grouping_.GroupCount(); }

private:
    MemoLines& memo_;
    Grouping grouping_;
};

enum class ImportOutcome {
    Done,          // the whole file was read
    Cancelled,     // stopped on request; the lines read so far stay
    ReadError,     // show kReadErrorMessage
    UnusableData,  // show kUnusableDataMessage
};

struct ImportResult {
    ImportOutcome outcome = ImportOutcome::Done;
    // Data lines accepted, also before a failure (the view is empty then).
    std::int64_t lineCount = 0;
    std::int64_t groupCount = 0;
    // How the file was read; all but ShiftJis mean its lines were converted.
    TextEncoding encoding = TextEncoding::ShiftJis;
    // For a failure: where and why, in UTF-8, e.g. "12 行目: 空白と制御文字だけの行です".
    std::string detail;
    // Lines longer than kMaxKeptLine bytes, cut there: the first one and how many.
    std::int64_t firstCutLine = 0;
    std::int64_t cutLines = 0;
};

// "データ行がありません" (no data lines) for a file read whole that gave
// none, in UTF-8; else empty. The report is still made, a header page alone.
std::string NoDataLinesWarning(const ImportResult& result);

// The warning about cut lines, in UTF-8; empty when no line was cut.
std::string CutLinesWarning(const ImportResult& result);

// Reads every line through `reader` into `memo`. `keepGoing` is asked before
// each line, the first included; false cancels. On a failure `memo` is emptied.
// Utf8 lines are converted to Shift-JIS before the import rules see them;
// UTF-16 comes as UTF-8 through ReadAsUtf8.
ImportResult ImportLines(LineReader& reader, MemoLines& memo, const std::function<bool()>& keepGoing = {},
                         TextEncoding encoding = TextEncoding::ShiftJis);

// The whole import over bytes already in memory, read in chunks of `chunkSize`.
ImportResult ImportBytes(std::string_view bytes, MemoLines& memo,
                         std::size_t chunkSize = LineReader::kDefaultChunk,
                         EncodingChoice choice = EncodingChoice::Auto);

// The encoding to read with: `choice` itself, or for Auto what `sniff` finds
// (nullopt when the sniff cannot read the file).
std::optional<TextEncoding> ResolveEncoding(EncodingChoice choice,
                                            const std::function<std::optional<TextEncoding>()>& sniff);

// The message for a failed import; empty for Done and Cancelled.
std::string_view ImportMessage(ImportOutcome outcome);

}  // namespace mosaiko
