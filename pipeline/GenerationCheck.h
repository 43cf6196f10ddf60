// The generation check: every group of the imported view encoded once at
// the chosen version and symbol size, and tested against the host picture.
#pragma once

#include <QSize>
#include <functional>
#include <string>
#include <vector>

#include "MemoLines.h"

namespace mosaiko {

class TQRCode;

inline constexpr char kVerdictNormal[] = "正常";
inline constexpr char kVerdictAbnormal[] = "異常";

// The settings sequence that the check and the report both send to the
// control for one group; the last step encodes and paints the symbol.
void EncodeGroup(TQRCode& qr, const std::string& codeText, int version, int sizeIndex);

struct CheckOutcome {
    int groups = 0;
    int errors = 0;
    std::vector<int> failedGroups;  // 1-based group numbers
    int capacity = 0;               // the control's Capacity after the run
    bool Passed() const { return errors == 0; }
};

// Encodes every group of `memo` and counts the groups whose symbol was not
// made or does not fit `host`. `step` runs once per group (pending events);
// when it answers false the check stops there.
CheckOutcome RunGenerationCheck(const MemoLines& memo, TQRCode& qr, QSize host, int version, int sizeIndex,
                                const std::function<bool()>& step = {});

}  // namespace mosaiko
