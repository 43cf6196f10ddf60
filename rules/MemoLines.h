// The imported lines as shown in the main window's read-only view, and the
// groups they form.
//
// All line bytes live in one growing buffer with an end offset per line, so a
// million lines cost no allocation each and memory stays a small multiple of
// the file size. Separator lines take no bytes in the buffer.
//
// The groups are recorded as the lines are appended, in flag bits of the end
// offsets (no memory of their own): a line opens a group when it comes first
// or right after a separator line, and every following line up to the next
// separator line belongs to that group. Readers walk these records instead of
// looking at the text of the lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mosaiko {

class MemoLines {
public:
    // Appends a line to the open group, opening one when none is open. The
    // separator line (kSeparatorLine) closes the open group instead.
    void Append(std::string_view line);
    // Line i (0-based); empty beyond the last line. Valid until the next Append or Clear.
    std::string_view Line(std::size_t i) const;
    std::size_t Count() const { return ends_.size(); }
    bool Empty() const { return ends_.empty(); }
    // Empties the lines and the group records; the lines are plain lines again.
    void Clear();
    // The lines are comma-separated records (CsvRecord.h) whose line breaks
    // inside quoted fields are kept as LF; group assembly reads them as such.
    void SetCsv(bool csv) { csv_ = csv; }
    bool Csv() const { return csv_; }
    // Bytes held for the lines and the offsets, for memory checks.
    std::size_t MemoryUsed() const;

    std::size_t GroupCount() const { return groups_; }
    // The first line at or after line i that opens a group; Count() when none.
    std::size_t GroupFirstFrom(std::size_t i) const;
    // The last line of the group that holds line i; i itself for a separator
    // line or a line beyond the last.
    std::size_t GroupLast(std::size_t i) const;

private:
    std::string bytes_;
    // End offset of each line in bytes_; the top bits mark a separator line
    // and the first and last line of a group.
    std::vector<std::uint64_t> ends_;
    std::size_t groups_ = 0;
    bool groupOpen_ = false;
    bool csv_ = false;
};

}  // namespace mosaiko
