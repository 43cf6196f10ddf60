// Division of the data lines into groups of strictly rising numbers.
#pragma once

#include <cstdint>
#include <string_view>

namespace mosaiko {

// The line that stands between two groups in the imported view.
inline constexpr std::string_view kSeparatorLine =
    "-----------------------------------------------------------------------------------------------------------------";
static_assert(kSeparatorLine.size() == 113);

struct GroupStep {
    bool separatorBefore = false;  // put a separator line before this data line
    bool startsGroup = false;      // this data line opens a new group
};

// Fed with the numbers of the data lines in file order. A line whose number is
// not greater than the number before it starts a new group.
class Grouping {
public:
    GroupStep Add(std::int32_t number);
    std::int64_t LineCount() const { return lineCount_; }
    std::int64_t GroupCount() const { return groupCount_; }

private:
    std::int64_t previousNumber_ = -1;
    bool groupOpen_ = false;
    std::int64_t lineCount_ = 0;
    std::int64_t groupCount_ = 0;
};

}  // namespace mosaiko
