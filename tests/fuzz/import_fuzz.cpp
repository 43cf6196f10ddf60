// Feeds arbitrary bytes through the whole import: line reading in chunks,
// first-field and data-line rules, grouping, the view's lines and the group
// texts, and aborts when any of their promises is broken.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DataLine.h"
#include "GroupAssembly.h"
#include "Grouping.h"
#include "Import.h"
#include "LineReader.h"
#include "MemoLines.h"
#include "ShiftJisText.h"

using namespace mosaiko;

namespace {

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "import_fuzz: %s\n", what);
    std::abort();
}

// Plain whole-buffer splitting to compare the chunked reader with; a line
// keeps its first kMaxKeptLine bytes.
std::vector<std::string> SplitWhole(std::string_view bytes) {
    std::vector<std::string> lines;
    bytes = bytes.substr(0, bytes.find('\x1a'));
    std::string line;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') {
            line.push_back(c);
            continue;
        }
        lines.push_back(line.substr(0, kMaxKeptLine));
        line.clear();
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    }
    if (!line.empty()) lines.push_back(line.substr(0, kMaxKeptLine));
    return lines;
}

std::vector<std::string> ReadChunked(std::string_view bytes, std::size_t chunk) {
    LineReader reader(ReadFromMemory(bytes), chunk);
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.Next(line) == ReadStatus::Line) lines.emplace_back(line);
    return lines;
}

bool AllDigits(const std::string& s) {
    if (s.empty()) return false;
    for (const char c : s) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

bool AllBlank(std::string_view s) {
    for (const char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 1 || u > 32) return false;
    }
    return true;
}

// Value of a digit string, saturated just above the 32-bit range.
std::int64_t DigitValue(const std::string& digits) {
    std::int64_t v = 0;
    for (const char c : digits) v = std::min<std::int64_t>(v * 10 + (c - '0'), std::int64_t{1} << 32);
    return v;
}

void CheckClass(const std::string& line, const LineClass& cls) {
    const std::optional<std::string> field = FirstField(line);
    if (line.empty()) {
        Check(cls.kind == LineKind::Skip, "empty line not skipped");
        return;
    }
    if (!field) {
        Check(AllBlank(line), "no field although a byte above 32 or 0");
        Check(cls.kind == LineKind::Unusable, "line without field not unusable");
        return;
    }
    Check(!AllBlank(line), "blank line has a field");
    if (!AllDigits(*field)) {
        Check(cls.kind == LineKind::Skip, "non-digit field not skipped");
        return;
    }
    const std::int64_t value = DigitValue(*field);
    if (value > 2147483647) {
        Check(cls.kind == LineKind::Unusable, "too large number not unusable");
    } else {
        Check(cls.kind == LineKind::Data && cls.number == value, "digit field not read as its number");
    }
}

// The data lines the import should keep, and whether it should fail.
struct Expected {
    std::vector<std::string> kept;
    bool unusable = false;
};

Expected Expect(const std::vector<std::string>& lines) {
    Expected e;
    for (const std::string& line : lines) {
        const LineClass cls = ClassifyLine(line);
        CheckClass(line, cls);
        if (cls.kind == LineKind::Unusable) {
            e.unusable = true;
            break;
        }
        if (cls.kind == LineKind::Data) e.kept.push_back(line);
    }
    return e;
}

void CheckView(const MemoLines& memo, const Expected& expected, const ImportResult& result) {
    Check(result.lineCount == static_cast<std::int64_t>(expected.kept.size()), "LineCount wrong");
    if (expected.unusable) {
        Check(result.outcome == ImportOutcome::UnusableData && memo.Empty(), "unusable data not reported");
        return;
    }
    Check(result.outcome == ImportOutcome::Done, "import did not finish");
    const std::size_t separators = result.groupCount > 0 ? static_cast<std::size_t>(result.groupCount - 1) : 0;
    Check(memo.Count() == expected.kept.size() + separators, "view size not lines plus separators");
    std::size_t next = 0;
    std::int64_t previous = -1;
    for (std::size_t i = 0; i < memo.Count(); ++i) {
        const std::string_view line = memo.Line(i);
        if (line == kSeparatorLine) {
            Check(i > 0 && i + 1 < memo.Count(), "separator first or last");
            Check(memo.Line(i - 1) != kSeparatorLine, "two separators in a row");
            Check(ClassifyLine(memo.Line(i + 1)).number <= previous, "separator before a rising number");
            continue;
        }
        Check(line.substr(0, 2) != "--", "data line looks like a separator");
        Check(next < expected.kept.size() && line == expected.kept[next++], "view line differs from file");
        const std::int32_t n = ClassifyLine(line).number;
        Check(i == 0 || memo.Line(i - 1) == kSeparatorLine || n > previous, "no separator before a falling number");
        previous = n;
    }
}

// Every group's texts read back to its line texts; the groups the view
// records cover its lines, with separator lines (and only those) between them.
std::int64_t CheckGroups(const MemoLines& memo) {
    GroupCursor cursor(memo);
    std::int64_t groups = 0;
    std::size_t start = memo.GroupFirstFrom(0);
    for (std::size_t j = 0; j < start; ++j) Check(memo.Line(j) == kSeparatorLine, "a line before the first group");
    while (!cursor.AtEnd()) {
        const GroupTexts g = cursor.Next();
        Check(g.last >= start && g.last < memo.Count(), "group end out of range");
        std::string plain;
        std::string label;
        for (std::size_t j = start; j <= g.last; ++j) {
            Check(memo.Line(j) != kSeparatorLine, "group runs over a separator");
            const std::string_view text = LineText(memo.Line(j));
            Check(text.size() <= kMaxLineText, "line text too long");
            plain.append(text).append("\r\n");
            label.append(text).append("\r");
        }
        Check(g.labelText == label, "LabelText differs from the line texts");
        Check(Unescaped(g.codeText) == plain, "CodeText does not read back to the line texts");
        Check(g.next > g.last && g.next <= memo.Count(), "next group out of range");
        for (std::size_t j = g.last + 1; j < g.next; ++j)
            Check(memo.Line(j) == kSeparatorLine, "a line between groups is not a separator");
        Check(g.next == memo.Count() || g.next > g.last + 1, "groups not parted by a separator");
        start = g.next;
        ++groups;
    }
    Check(static_cast<std::size_t>(groups) == memo.GroupCount(), "cursor and records count differently");
    return groups;
}

// In an imported view a single separator parts two groups, and the last line
// ends the last group.
void CheckImportedRecords(const MemoLines& memo) {
    GroupCursor cursor(memo);
    std::size_t start = 0;
    while (!cursor.AtEnd()) {
        const GroupTexts g = cursor.Next();
        Check(g.next == memo.Count() ? g.last + 1 == memo.Count() : g.next == g.last + 2,
              "records disagree with the separator lines");
        start = g.next;
    }
    Check(start == memo.Count(), "records do not reach the last line");
}

// The CSV reading keeps whole records, each a data line; every group's code
// text reads back to its data, and the label ends the same lines with CR.
void CheckCsv(std::string_view file, std::size_t chunk) {
    MemoLines memo;
    const ImportResult result = ImportBytes(file, memo, chunk, EncodingChoice::Auto, true);
    if (result.outcome != ImportOutcome::Done) {
        Check(memo.Empty(), "a failed CSV import left lines");
        return;
    }
    for (std::size_t i = 0; i < memo.Count(); ++i)
        Check(memo.Line(i) == kSeparatorLine || ClassifyLine(memo.Line(i)).kind == LineKind::Data,
              "a CSV record kept without a number");
    std::int64_t groups = 0;
    for (GroupCursor cursor(memo); !cursor.AtEnd(); ++groups) {
        const GroupTexts g = cursor.Next();
        Check(Unescaped(g.codeText) == g.data, "CSV code text does not read back to its data");
        std::string label = g.data;
        for (std::size_t at = label.find("\r\n"); at != std::string::npos; at = label.find("\r\n", at + 1))
            label.erase(at + 1, 1);
        Check(g.labelText == label, "CSV label and data end different lines");
    }
    Check(groups == result.groupCount, "CSV group count wrong");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::size_t chunk = 1 + data[0] % 64;
    const std::string_view file(reinterpret_cast<const char*>(data + 1), size - 1);

    const std::vector<std::string> lines = SplitWhole(file);
    Check(ReadChunked(file, chunk) == lines, "chunked reading differs from whole-file splitting");

    MemoLines memo;
    const ImportResult result = ImportBytes(file, memo, chunk);
    CheckView(memo, Expect(lines), result);
    if (result.outcome == ImportOutcome::Done) {
        Check(CheckGroups(memo) == result.groupCount, "group count wrong");
        CheckImportedRecords(memo);
    }

    CheckCsv(file, chunk);

    // Assembly must also hold for raw lines of any content, separators included.
    MemoLines raw;
    for (const std::string& line : lines) raw.Append(line);
    CheckGroups(raw);
    return 0;
}
