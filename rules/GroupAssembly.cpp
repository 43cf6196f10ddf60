#include "GroupAssembly.h"

#include "ShiftJisText.h"

namespace mosaiko {
namespace {

constexpr std::string_view kLineEndEscape = "~0D0A~";

bool IsSeparator(std::string_view line) { return line.substr(0, 2) == "--"; }

// The group's last line: before the first separator after `start`, at most `bound`.
std::size_t GroupEnd(const MemoLines& lines, std::size_t start, std::size_t bound) {
    std::size_t last = start;
    for (std::size_t i = start; i <= bound && !IsSeparator(lines.Line(i)); ++i) last = i;
    return last;
}

}  // namespace

std::string_view LineText(std::string_view line) {
    const std::size_t comma = line.find(',');
    if (comma != std::string_view::npos) line.remove_prefix(comma + 1);
    return line.substr(0, kMaxLineText);
}

GroupTexts AssembleGroup(const MemoLines& lines, std::size_t start, std::size_t bound) {
    GroupTexts group;
    group.last = start;
    if (start >= lines.Count()) return group;
    if (bound >= lines.Count()) bound = lines.Count() - 1;
    group.last = GroupEnd(lines, start, bound);
    for (std::size_t j = start; j <= group.last; ++j) {
        const std::string_view text = LineText(lines.Line(j));
        AppendEscaped(group.codeText, text);
        group.codeText += kLineEndEscape;
        group.labelText += text;
        group.labelText += '\r';
    }
    return group;
}

std::size_t CountGroups(const MemoLines& lines) {
    std::size_t groups = 0;
    for (std::size_t next = 0; next < lines.Count(); ++groups) next = GroupEnd(lines, next, lines.Count() - 1) + 2;
    return groups;
}

GroupTexts GroupCursor::Next() {
    GroupTexts group = AssembleGroup(lines_, next_, lines_.Count() - 1);
    next_ = group.last + 2;  // last + 1 is the separator
    return group;
}

}  // namespace mosaiko
