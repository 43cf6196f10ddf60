#include "GroupAssembly.h"

#include <algorithm>

#include "CsvRecord.h"
#include "ShiftJisText.h"

namespace mosaiko {
namespace {

constexpr std::string_view kLineEndEscape = "~0D0A~";

void AppendLine(GroupTexts& group, std::string_view text) {
    AppendEscaped(group.codeText, text);
    group.codeText += kLineEndEscape;
    group.data += text;
    group.data += "\r\n";
    group.labelText += text;
    group.labelText += '\r';
}

// A record's line breaks inside cells end lines of the group's text like the
// records themselves do.
void AppendRecord(GroupTexts& group, std::string_view record) {
    const std::string joined = CsvRecordText(record);
    std::string_view text = std::string_view(joined).substr(0, kMaxLineText);
    for (std::size_t lf = text.find('\n'); lf != std::string_view::npos; lf = text.find('\n')) {
        AppendLine(group, text.substr(0, lf));
        text.remove_prefix(lf + 1);
    }
    AppendLine(group, text);
}

}  // namespace

std::string_view LineText(std::string_view line) {
    const std::size_t comma = line.find(',');
    if (comma != std::string_view::npos) line.remove_prefix(comma + 1);
    return line.substr(0, kMaxLineText);
}

GroupTexts GroupBounds(const MemoLines& lines, std::size_t start, std::size_t bound) {
    GroupTexts group;
    group.last = start;
    group.next = lines.Count();
    if (start >= lines.Count()) return group;
    group.last = std::max(start, std::min(lines.GroupLast(start), bound));
    group.next = lines.GroupFirstFrom(group.last + 1);
    return group;
}

GroupTexts AssembleGroup(const MemoLines& lines, std::size_t start, std::size_t bound) {
    GroupTexts group = GroupBounds(lines, start, bound);
    if (start >= lines.Count()) return group;
    for (std::size_t j = start; j <= group.last; ++j) {
        if (lines.Csv()) {
            AppendRecord(group, lines.Line(j));
        } else {
            AppendLine(group, LineText(lines.Line(j)));
        }
    }
    return group;
}

std::size_t CountGroups(const MemoLines& lines) { return lines.GroupCount(); }

GroupTexts GroupCursor::Next() {
    GroupTexts group = AssembleGroup(lines_, next_, lines_.Count() - 1);
    next_ = group.next;
    return group;
}

}  // namespace mosaiko
