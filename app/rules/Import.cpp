#include "Import.h"

#include "ImportMessages.h"

#include <new>
#include <stdexcept>

namespace mosaiko {

Importer::Importer(MemoLines& memo) : memo_(memo) { memo_.Clear(); }

bool Importer::Take(std::string_view line) {
    const LineClass cls = ClassifyLine(line);
    if (cls.kind == LineKind::Unusable) return false;
    if (cls.kind == LineKind::Skip) return true;
    if (grouping_.Add(cls.number).separatorBefore) memo_.Append(kSeparatorLine);
    memo_.Append(line);
    return true;
}

namespace {

// The reading loop; a line or a file too large for memory throws bad_alloc.
void ReadAll(LineReader& reader, Importer& importer, ImportResult& result, const std::function<bool()>& keepGoing) {
    for (;;) {
        if (keepGoing && !keepGoing()) {
            result.outcome = ImportOutcome::Cancelled;
            break;
        }
        std::string_view line;
        const ReadStatus status = reader.Next(line);
        if (status == ReadStatus::End) break;
        if (status == ReadStatus::Error) {
            result.outcome = ImportOutcome::ReadError;
            break;
        }
        if (!importer.Take(line)) {
            result.outcome = ImportOutcome::UnusableData;
            break;
        }
    }
}

}  // namespace

ImportResult ImportLines(LineReader& reader, MemoLines& memo, const std::function<bool()>& keepGoing) {
    Importer importer(memo);
    ImportResult result;
    try {
        ReadAll(reader, importer, result, keepGoing);
    } catch (const std::bad_alloc&) {
        // Memory ran out before the file was read: to the user the file
        // could not be read, which is what the message says.
        result.outcome = ImportOutcome::ReadError;
    } catch (const std::length_error&) {
        result.outcome = ImportOutcome::ReadError;
    }
    if (result.outcome == ImportOutcome::ReadError || result.outcome == ImportOutcome::UnusableData) memo.Clear();
    result.lineCount = importer.LineCount();
    result.groupCount = importer.GroupCount();
    return result;
}

ImportResult ImportBytes(std::string_view bytes, MemoLines& memo, std::size_t chunkSize) {
    LineReader reader(ReadFromMemory(bytes), chunkSize);
    return ImportLines(reader, memo);
}

std::string_view ImportMessage(ImportOutcome outcome) {
    switch (outcome) {
    case ImportOutcome::ReadError: return kReadErrorMessage;
    case ImportOutcome::UnusableData: return kUnusableDataMessage;
    default: return {};
    }
}

}  // namespace mosaiko
