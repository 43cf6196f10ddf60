#include "Import.h"

#include <algorithm>
#include <memory>
#include <new>
#include <stdexcept>

#include "CsvRecord.h"
#include "ImportMessages.h"

namespace mosaiko {
namespace {

// Long enough to recognise the number, short enough for a message box.
constexpr std::size_t kShownDigits = 30;

std::string LinePrefix(std::int64_t lineNumber) { return std::to_string(lineNumber) + " 行目: "; }

// Why ClassifyLine found the line unusable: it has no first field, or the
// field's digits do not fit.
std::string UnusableReason(std::string_view line) {
    const std::optional<std::string> field = FirstField(line);
    if (!field) return "空白と制御文字だけの行です";
    std::string shown = field->substr(0, kShownDigits);
    if (field->size() > kShownDigits) shown += "…";
    return "先頭の数値 " + shown + " が大きすぎます";
}

// A UTF-8 line cut at kMaxKeptLine may end inside a character: that part goes.
std::string_view WholeUtf8(std::string_view line) {
    for (std::size_t back = 1; back <= 4 && back <= line.size(); ++back) {
        const auto c = static_cast<unsigned char>(line[line.size() - back]);
        if ((c & 0xC0) == 0x80) continue;  // a continuation byte
        const std::size_t length = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
        return length > back ? line.substr(0, line.size() - back) : line;
    }
    return line;
}

}  // namespace

std::string NoDataLinesWarning(const ImportResult& result) {
    if (result.outcome != ImportOutcome::Done || result.lineCount > 0) return {};
    return "データ行がありません";
}

std::string CutLinesWarning(const ImportResult& result) {
    if (result.cutLines == 0) return {};
    std::string text = LinePrefix(result.firstCutLine) + "行が " + std::to_string(kMaxKeptLine) +
                       " バイトを超えるため、先頭の " + std::to_string(kMaxKeptLine) + " バイトだけを読み込みました";
    if (result.cutLines > 1) text += "（ほかに " + std::to_string(result.cutLines - 1) + " 行）";
    return text;
}

std::string LeftOutLinesWarning(const ImportResult& result) {
    const LeftOutLines& l = result.leftOut;
    if (l.keptLine == 0) return {};
    std::string lines = std::to_string(l.from);
    if (l.to > l.from) lines += "～" + std::to_string(l.to);
    std::string text = LinePrefix(l.keptLine) + "引用符の中の改行に続く " + lines +
                       " 行目を読み込みませんでした（CSV読込で読めます）";
    if (l.keptLines > 1) text += "（ほかに " + std::to_string(l.keptLines - 1) + " 行）";
    return text;
}

Importer::Importer(MemoLines& memo, bool csv) : memo_(memo), csv_(csv) {
    memo_.Clear();
    memo_.SetCsv(csv);
}

bool Importer::Take(std::string_view line) {
    ++lineNumber_;
    if (csv_) return TakeCsvLine(line);
    const LineClass cls = ClassifyLine(line);
    if (cls.kind == LineKind::Unusable) return false;
    if (cls.kind == LineKind::Skip) {
        if (openSince_ != 0) {
            NoteLeftOut();
            if (!CsvEndsInQuotes(line, true)) openSince_ = 0;
        }
        return true;
    }
    if (!TakeRecord(line)) return false;
    openSince_ = CsvEndsInQuotes(line, false) ? lineNumber_ : 0;
    return true;
}

bool Importer::Finish() {
    if (!open_) return true;
    open_ = false;
    return TakeRecord(pending_);
}

bool Importer::TakeRecord(std::string_view record) {
    const LineClass cls = ClassifyLine(record);
    if (cls.kind == LineKind::Unusable) return false;
    if (cls.kind == LineKind::Skip) return true;
    if (grouping_.Add(cls.number).separatorBefore) memo_.Append(kSeparatorLine);
    memo_.Append(record);
    return true;
}

bool Importer::TakeCsvLine(std::string_view line) {
    if (open_) {
        // Only the first kMaxKeptLine bytes of a record are kept, as of a line.
        const std::size_t room = kMaxKeptLine - std::min(kMaxKeptLine, pending_.size());
        if (room > 0) pending_ += '\n';
        pending_.append(line.substr(0, room > 0 ? room - 1 : 0));
    } else {
        pending_.assign(line);
    }
    open_ = CsvEndsInQuotes(line, open_);
    return open_ || TakeRecord(pending_);
}

void Importer::NoteLeftOut() {
    if (leftOut_.keptLine == 0) {
        leftOut_ = {openSince_, lineNumber_, lineNumber_, 1};
    } else if (leftOut_.keptLine == openSince_) {
        leftOut_.to = lineNumber_;
    } else if (lastNoted_ != openSince_) {
        ++leftOut_.keptLines;
    }
    lastNoted_ = openSince_;
}

ImportResult ImportLines(LineReader& reader, MemoLines& memo, const std::function<bool()>& keepGoing,
                         TextEncoding encoding, bool csv) {
    Importer importer(memo, csv);
    ImportResult result;
    result.encoding = encoding;
    std::unique_ptr<Utf8ToShiftJis> converter;
    if (encoding != TextEncoding::ShiftJis) converter = std::make_unique<Utf8ToShiftJis>();
    std::int64_t lineNumber = 0;
    try {
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
            if (status == ReadStatus::TooLong) {
                result.outcome = ImportOutcome::UnusableData;
                result.detail = LinePrefix(lineNumber + 1) + "行が " + std::to_string(kMaxLineBytes) +
                                " バイトを超えます（終わりのない入力か、テキストではありません）";
                break;
            }
            ++lineNumber;
            if (reader.LastLineCut()) {
                if (result.cutLines++ == 0) result.firstCutLine = lineNumber;
                if (converter) line = WholeUtf8(line);
            }
            if (converter) {
                std::string problem;
                const std::optional<std::string_view> converted = converter->Convert(line, problem);
                if (!converted) {
                    result.outcome = ImportOutcome::UnusableData;
                    result.detail = LinePrefix(lineNumber) + problem;
                    break;
                }
                line = *converted;
            }
            if (!importer.Take(line)) {
                result.outcome = ImportOutcome::UnusableData;
                result.detail = LinePrefix(lineNumber) + UnusableReason(importer.Record(line));
                break;
            }
        }
        if (result.outcome != ImportOutcome::ReadError && result.outcome != ImportOutcome::UnusableData &&
            !importer.Finish()) {
            result.outcome = ImportOutcome::UnusableData;
            result.detail = LinePrefix(lineNumber) + UnusableReason(importer.Record({}));
        }
    } catch (const std::bad_alloc&) {
        // Memory ran out before the file was read (a line too long for it):
        // to the user the file could not be read, which is what the message says.
        result.outcome = ImportOutcome::ReadError;
    } catch (const std::length_error&) {
        result.outcome = ImportOutcome::ReadError;
    }
    if (result.outcome == ImportOutcome::ReadError || result.outcome == ImportOutcome::UnusableData) memo.Clear();
    result.lineCount = importer.LineCount();
    result.groupCount = importer.GroupCount();
    result.leftOut = importer.LeftOut();
    return result;
}

ImportResult ImportBytes(std::string_view bytes, MemoLines& memo, std::size_t chunkSize, EncodingChoice choice,
                         bool csv) {
    const std::optional<TextEncoding> encoding =
        ResolveEncoding(choice, [&] { return SniffEncoding(ReadFromMemory(bytes), chunkSize); });
    const TextEncoding read = encoding.value_or(TextEncoding::ShiftJis);
    LineReader reader(ReadAsUtf8(ReadFromMemory(bytes), read), chunkSize);
    return ImportLines(reader, memo, {}, read, csv);
}

std::optional<TextEncoding> ResolveEncoding(EncodingChoice choice,
                                            const std::function<std::optional<TextEncoding>()>& sniff) {
    switch (choice) {
    case EncodingChoice::ShiftJis: return TextEncoding::ShiftJis;
    case EncodingChoice::Utf8: return TextEncoding::Utf8;
    default: return sniff();
    }
}

std::string_view ImportMessage(ImportOutcome outcome) {
    switch (outcome) {
    case ImportOutcome::ReadError: return kReadErrorMessage;
    case ImportOutcome::UnusableData: return kUnusableDataMessage;
    default: return {};
    }
}

}  // namespace mosaiko
