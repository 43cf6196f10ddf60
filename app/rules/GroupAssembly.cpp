#include "GroupAssembly.h"

#include "ShiftJisBytes.h"

namespace mosaiko {
namespace {

constexpr std::string_view kLineEndEscape = "~0D0A~";
constexpr char kHex[] = "0123456789ABCDEF";

bool IsSeparator(std::string_view line) { return line.substr(0, 2) == "--"; }

}  // namespace

std::string_view LineText(std::string_view line) {
    const std::size_t comma = line.find(',');
    if (comma != std::string_view::npos) line.remove_prefix(comma + 1);
    return line.substr(0, kMaxLineText);
}

void AppendEscaped(std::string& out, std::string_view text) {
    // Stepping over double-byte characters as pairs finds the same second
    // bytes as the control's rule (odd run of lead bytes before, not 0).
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const auto u = static_cast<unsigned char>(c);
        if (IsLeadByte(u) && i + 1 < text.size() && text[i + 1] != 0) {
            out.push_back(c);
            out.push_back(text[++i]);
        } else if (IsLeadByte(u) && i + 1 == text.size()) {
            // Raw, it would swallow the tilde of the line end escape after it.
            out += '~';
            out += kHex[u >> 4];
            out += kHex[u & 15];
            out += '~';
        } else if (c == '~') {
            out += "~~";
        } else if (c == '\t') {
            out += "~09~";
        } else {
            out.push_back(c);
        }
    }
}

GroupTexts AssembleGroup(const MemoLines& lines, std::size_t start, std::size_t bound) {
    GroupTexts group;
    group.last = start;
    if (start >= lines.Count()) return group;
    if (bound >= lines.Count()) bound = lines.Count() - 1;
    for (std::size_t i = start; i <= bound && !IsSeparator(lines.Line(i)); ++i) group.last = i;
    for (std::size_t j = start; j <= group.last; ++j) {
        const std::string_view text = LineText(lines.Line(j));
        AppendEscaped(group.codeText, text);
        group.codeText += kLineEndEscape;
        group.labelText += text;
        group.labelText += '\r';
    }
    return group;
}

GroupTexts GroupCursor::Next() {
    GroupTexts group = AssembleGroup(lines_, next_, lines_.Count() - 1);
    next_ = group.last + 2;  // last + 1 is the separator
    return group;
}

}  // namespace mosaiko
