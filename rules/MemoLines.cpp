#include "MemoLines.h"

#include "Grouping.h"

namespace mosaiko {
namespace {

constexpr std::uint64_t kSeparatorFlag = std::uint64_t{1} << 63;
constexpr std::uint64_t kGroupFirstFlag = std::uint64_t{1} << 62;
constexpr std::uint64_t kGroupLastFlag = std::uint64_t{1} << 61;
constexpr std::uint64_t kOffsetMask = kGroupLastFlag - 1;

}  // namespace

void MemoLines::Append(std::string_view line) {
    // A file with a group per line would otherwise hold 113 bytes per line.
    if (line == kSeparatorLine) {
        ends_.push_back(bytes_.size() | kSeparatorFlag);
        groupOpen_ = false;
        return;
    }
    bytes_.append(line);
    // The newest line of the open group is its last until another follows.
    std::uint64_t flags = kGroupLastFlag;
    if (groupOpen_) {
        ends_.back() &= ~kGroupLastFlag;
    } else {
        flags |= kGroupFirstFlag;
        groupOpen_ = true;
        ++groups_;
    }
    ends_.push_back(bytes_.size() | flags);
}

std::string_view MemoLines::Line(std::size_t i) const {
    if (i >= ends_.size()) return {};
    if (ends_[i] & kSeparatorFlag) return kSeparatorLine;
    const std::uint64_t end = ends_[i] & kOffsetMask;
    const std::uint64_t begin = (i == 0) ? 0 : (ends_[i - 1] & kOffsetMask);
    return std::string_view(bytes_).substr(begin, end - begin);
}

std::size_t MemoLines::GroupFirstFrom(std::size_t i) const {
    while (i < ends_.size() && !(ends_[i] & kGroupFirstFlag)) ++i;
    return i;
}

std::size_t MemoLines::GroupLast(std::size_t i) const {
    if (i >= ends_.size() || (ends_[i] & kSeparatorFlag)) return i;
    // Every group's last line carries the flag, so this stays inside the group.
    while (!(ends_[i] & kGroupLastFlag)) ++i;
    return i;
}

void MemoLines::Clear() {
    // Release the memory too: an emptied view should not keep a big file's bytes.
    std::string().swap(bytes_);
    std::vector<std::uint64_t>().swap(ends_);
    groups_ = 0;
    groupOpen_ = false;
    csv_ = false;
}

std::size_t MemoLines::MemoryUsed() const {
    return bytes_.capacity() + ends_.capacity() * sizeof(std::uint64_t);
}

}  // namespace mosaiko
