// Reading the groups back from the imported view and building their texts.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "MemoLines.h"

namespace mosaiko {

inline constexpr std::size_t kMaxLineText = 9999;

// The bytes after the first comma, or the whole line without one; cut to
// kMaxLineText bytes.
std::string_view LineText(std::string_view line);

struct GroupTexts {
    std::size_t last = 0;   // index of the group's last line
    std::size_t next = 0;   // first line of the next group; the line count when none
    std::string codeText;   // escaped line texts, each followed by "~0D0A~"
    std::string data;       // the bytes codeText spells: line texts, each followed by CR LF
    std::string labelText;  // plain line texts, each followed by CR
};

// Where the group that starts at line `start` and may run up to line `bound`
// ends (`last`) and where the next one starts (`next`), without its texts.
GroupTexts GroupBounds(const MemoLines& lines, std::size_t start, std::size_t bound);

// The group that starts at line `start` and may run up to line `bound`: it
// ends at the last line the view records for it. For a CSV view each record
// gives CsvRecordText, cut to kMaxLineText bytes, and each LF in it ends a
// line of the texts like the record's own end.
GroupTexts AssembleGroup(const MemoLines& lines, std::size_t start, std::size_t bound);

// How many groups GroupCursor walks, without building their texts.
std::size_t CountGroups(const MemoLines& lines);

// Walks the groups the view records, in order.
class GroupCursor {
public:
    explicit GroupCursor(const MemoLines& lines) : lines_(lines), next_(lines.GroupFirstFrom(0)) {}
    bool AtEnd() const { return next_ >= lines_.Count(); }
    GroupTexts Next();
    void Reset() { next_ = lines_.GroupFirstFrom(0); }

private:
    const MemoLines& lines_;
    std::size_t next_ = 0;
};

}  // namespace mosaiko
