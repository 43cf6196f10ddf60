#include "GroupAssembly.h"

#include <algorithm>

#include "ShiftJisText.h"

namespace mosaiko {
namespace {

constexpr std::string_view kLineEndEscape = "~0D0A~";

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
        const std::string_view text = LineText(lines.Line(j));
        AppendEscaped(group.codeText, text);
        group.codeText += kLineEndEscape;
        group.data += text;
        group.data += "\r\n";
        group.labelText += text;
        group.labelText += '\r';
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
