#include "Import.h"

#include "ImportMessages.h"

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

ImportResult ImportLines(LineReader& reader, MemoLines& memo, const std::function<bool()>& keepGoing) {
    Importer importer(memo);
    ImportResult result;
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
