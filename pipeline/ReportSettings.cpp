#include "ReportSettings.h"

namespace mosaiko {

ReportSettings ReportSettings::Clamped() const {
    ReportSettings s = *this;
    s.version = kVersionRange.Clamp(version);
    s.symbolSize = symbolSize < kSymbolSizeRange.low ? kNoSymbolSize : kSymbolSizeRange.Clamp(symbolSize);
    s.groupsPerPage = kGroupsPerPageRange.Clamp(groupsPerPage);
    s.fontSize = kFontSizeRange.Clamp(fontSize);
    s.level = kLevelRange.Clamp(level);
    return s;
}

}  // namespace mosaiko
