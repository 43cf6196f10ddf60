#include "MemoLines.h"

#include "Grouping.h"

namespace mosaiko {
namespace {

constexpr std::uint64_t kSeparatorFlag = std::uint64_t{1} << 63;

}  // namespace

void MemoLines::Append(std::string_view line) {
    // A file with a group per line would otherwise hold 113 bytes per line.
    if (line == kSeparatorLine) {
        ends_.push_back(bytes_.size() | kSeparatorFlag);
        return;
    }
    bytes_.append(line);
    ends_.push_back(bytes_.size());
}

std::string_view MemoLines::Line(std::size_t i) const {
    if (i >= ends_.size()) return {};
    const std::uint64_t end = ends_[i];
    if (end & kSeparatorFlag) return kSeparatorLine;
    const std::uint64_t begin = (i == 0) ? 0 : (ends_[i - 1] & ~kSeparatorFlag);
    return std::string_view(bytes_).substr(begin, end - begin);
}

void MemoLines::Clear() {
    // Release the memory too: an emptied view should not keep a big file's bytes.
    std::string().swap(bytes_);
    std::vector<std::uint64_t>().swap(ends_);
}

std::size_t MemoLines::MemoryUsed() const {
    return bytes_.capacity() + ends_.capacity() * sizeof(std::uint64_t);
}

}  // namespace mosaiko
