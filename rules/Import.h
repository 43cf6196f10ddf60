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

// Kept lines that end inside an open quoted field, whose continuation lines
// a line-by-line reading leaves out (a spreadsheet's line break in a cell).
struct LeftOutLines {
    std::int64_t keptLine = 0;  // the first such kept line, 1-based; 0 for none
    std::int64_t from = 0;      // the continuation lines it lost
    std::int64_t to = 0;
    std::int64_t keptLines = 0;  // how many kept lines lost some
};

// Takes the lines of a file one at a time and fills the view. A CSV import
// joins the lines of a record (CsvRecord.h) and keeps whole records.
class Importer {
public:
    // Empties `memo`; it must outlive the importer.
    explicit Importer(MemoLines& memo, bool csv = false);
    // False when the line is unusable data: the import must end there.
    bool Take(std::string_view line);
    // No more lines: a record still open is taken as it stands. False as for Take.
    bool Finish();
    std::int64_t LineCount() const { return grouping_.LineCount(); }
    std::int64_t GroupCount() const { return grouping_.GroupCount(); }
    const LeftOutLines& LeftOut() const { return leftOut_; }
    // What the last Take or Finish looked at: the CSV record, else `line`.
    std::string_view Record(std::string_view line) const { return csv_ ? std::string_view(pending_) : line; }

private:
    bool TakeRecord(std::string_view record);
    bool TakeCsvLine(std::string_view line);
    void NoteLeftOut();

    MemoLines& memo_;
    Grouping grouping_;
    bool csv_ = false;
    std::int64_t lineNumber_ = 0;
    // A CSV record still open at the end of the last line, up to kMaxKeptLine bytes.
    std::string pending_;
    bool open_ = false;
    // Plain reading: the kept line whose quoted field the lines now read continue.
    std::int64_t openSince_ = 0;
    std::int64_t lastNoted_ = 0;
    LeftOutLines leftOut_;
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
    LeftOutLines leftOut;  // plain reading only
};

// "データ行がありません" (no data lines) for a file read whole that gave
// none, in UTF-8; else empty. The report is still made, a header page alone.
std::string NoDataLinesWarning(const ImportResult& result);

// The warning about cut lines, in UTF-8; empty when no line was cut.
std::string CutLinesWarning(const ImportResult& result);

// The warning about kept lines whose quoted line breaks lost the lines after
// them, in UTF-8; empty when none did.
std::string LeftOutLinesWarning(const ImportResult& result);

// Reads every line through `reader` into `memo`. `keepGoing` is asked before
// each line, the first included; false cancels. On a failure `memo` is emptied.
// Utf8 lines are converted to Shift-JIS before the import rules see them;
// UTF-16 comes as UTF-8 through ReadAsUtf8. `csv` reads records as a
// spreadsheet writes them; a cancelled CSV import keeps the record it was in.
ImportResult ImportLines(LineReader& reader, MemoLines& memo, const std::function<bool()>& keepGoing = {},
                         TextEncoding encoding = TextEncoding::ShiftJis, bool csv = false);

// The whole import over bytes already in memory, read in chunks of `chunkSize`.
ImportResult ImportBytes(std::string_view bytes, MemoLines& memo,
                         std::size_t chunkSize = LineReader::kDefaultChunk,
                         EncodingChoice choice = EncodingChoice::Auto, bool csv = false);

// The encoding to read with: `choice` itself, or for Auto what `sniff` finds
// (nullopt when the sniff cannot read the file).
std::optional<TextEncoding> ResolveEncoding(EncodingChoice choice,
                                            const std::function<std::optional<TextEncoding>()>& sniff);

// The message for a failed import; empty for Done and Cancelled.
std::string_view ImportMessage(ImportOutcome outcome);

}  // namespace mosaiko
