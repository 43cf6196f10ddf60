// The imported lines as shown in the main window's read-only view.
//
// All line bytes live in one growing buffer with an end offset per line, so a
// million lines cost no allocation each and memory stays a small multiple of
// the file size. Separator lines take no bytes in the buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mosaiko {

class MemoLines {
public:
    void Append(std::string_view line);
    // Line i (0-based); empty beyond the last line. Valid until the next Append or Clear.
    std::string_view Line(std::size_t i) const;
    std::size_t Count() const { return ends_.size(); }
    bool Empty() const { return ends_.empty(); }
    void Clear();
    // Bytes held for the lines and the offsets, for memory checks.
    std::size_t MemoryUsed() const;

private:
    std::string bytes_;
    // End offset of each line in bytes_; the top bit marks a separator line.
    std::vector<std::uint64_t> ends_;
};

}  // namespace mosaiko
