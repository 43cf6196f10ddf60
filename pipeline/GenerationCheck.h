// The generation check: every group of the imported view encoded once at
// the chosen version and symbol size, and tested against the host picture.
#pragma once

#include <QSize>
#include <functional>
#include <string>
#include <vector>

#include "MemoLines.h"

namespace mosaiko {

class RowTextFit;
class TQRCode;

inline constexpr char kVerdictNormal[] = "正常";
inline constexpr char kVerdictAbnormal[] = "異常";

// The settings sequence that the check and the report both send to the
// control for one group; the last step encodes and paints the symbol.
void EncodeGroup(TQRCode& qr, const std::string& codeText, int version, int sizeIndex);

// Why a group gave no symbol that fits its picture.
struct GroupFailure {
    enum Reason { DataTooLong, SymbolTooWide };
    int group = 0;  // 1-based
    Reason reason = DataTooLong;
    int dataBytes = 0;      // the group's data, escapes applied
    int capacityBytes = 0;  // what the version holds in byte mode at the control's level
    int symbolPixels = 0;   // side of the symbol with its quiet zone
    int picturePixels = 0;  // side of the host picture
};

// A group whose text has more lines than its row shows.
struct RowOverflow {
    int group = 0;  // 1-based
    int shownLines = 0;
};

struct CheckOutcome {
    int groups = 0;
    int errors = 0;
    std::vector<GroupFailure> failures;  // in group order
    std::vector<RowOverflow> overflows;  // a warning only: these groups still pass
    int capacity = 0;               // the control's Capacity after the run
    bool Passed() const { return errors == 0; }
};

// Encodes every group of `memo` and counts the groups whose symbol was not
// made or does not fit `host`, with the reason. With `rows`, groups whose text
// does not fit their row are noted. `step` runs once per group (pending
// events); when it answers false the check stops there.
CheckOutcome RunGenerationCheck(const MemoLines& memo, TQRCode& qr, QSize host, int version, int sizeIndex,
                                const std::function<bool()>& step = {}, const RowTextFit* rows = nullptr);

}  // namespace mosaiko
