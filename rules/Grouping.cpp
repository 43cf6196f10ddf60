#include "Grouping.h"

namespace mosaiko {

GroupStep Grouping::Add(std::int32_t number) {
    GroupStep step;
    // Numbers are never negative, so the first line never gets a separator.
    if (number <= previousNumber_) {
        step.separatorBefore = true;
        groupOpen_ = false;
    }
    ++lineCount_;
    previousNumber_ = number;
    if (!groupOpen_) {
        step.startsGroup = true;
        ++groupCount_;
        groupOpen_ = true;
    }
    return step;
}

}  // namespace mosaiko
