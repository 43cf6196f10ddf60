// The generation check: every group of the imported view encoded once at
// the chosen version and symbol size, and tested against the host picture.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "MemoLines.h"
#include "SymbolEncoder.h"

namespace mosaiko {

class DataNeed;
class RowTextFit;
class TQRCode;

inline constexpr char kVerdictNormal[] = "正常";
inline constexpr char kVerdictAbnormal[] = "異常";

// The side of the host picture (the hidden control's 256 x 256 picture):
// every symbol, with its quiet zone, must fit it.
inline constexpr int kHostPictureSide = 256;

// How each group's data is encoded beyond version and size: the
// error-correction level, and the smallest encoding instead of the automatic
// rule. The defaults are the control's own.
struct EncodeChoice {
    int eclevel = kLevelL;
    bool optimal = false;
};

// The settings sequence that sends one group to the control; the last step
// encodes and paints the symbol.
void EncodeGroup(TQRCode& qr, const std::string& codeText, int version, int sizeIndex,
                 const EncodeChoice& choice = {});

// One group's symbol as the control would make it from the group's code text:
// its data bytes at the version, the chosen level and segmentation, automatic
// mask, sizeIndex + 1 pixels a module (an index below 0 keeps the magnification).
const SymbolResult& EncodeGroupData(SymbolEncoder& symbols, std::string_view data, int version, int sizeIndex,
                                    const EncodeChoice& choice = {});
// Whether a symbol was made and fits the host picture.
bool FitsHost(const SymbolResult& symbol);
// Whether a symbol of `version`, with its quiet zone, at `magnification`
// pixels a module fits the host picture, whatever its data.
bool SymbolFitsHost(int version, int magnification);

// Why a group gave no symbol that fits its picture.
struct GroupFailure {
    enum Reason { DataTooLong, SymbolTooWide };
    int group = 0;  // 1-based
    Reason reason = DataTooLong;
    int dataBytes = 0;      // the group's data, escapes applied
    int capacityBytes = 0;  // what the version holds in byte mode at the level
    bool fitsSmallest = false;  // the smallest encoding would fit it (asked only without it)
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
    std::string lastCodeText;       // code text of the last group encoded
    bool Passed() const { return errors == 0; }
};

// Encodes every group of `memo` and counts the groups whose symbol was not
// made or does not fit the host picture, with the reason. With `rows`, groups
// whose text does not fit their row are noted. `step` runs once per group
// (pending events); when it answers false the check stops there. `symbols`
// is kept from run to run, as the control is: the capacity follows the last
// symbol made. With `need`, every group's data is measured for the search
// of the most readable setting.
CheckOutcome RunGenerationCheck(const MemoLines& memo, SymbolEncoder& symbols, int version, int sizeIndex,
                                const std::function<bool()>& step = {}, const RowTextFit* rows = nullptr,
                                const EncodeChoice& choice = {}, DataNeed* need = nullptr);

// Leaves the control as the check on it would: holding the last group's
// symbol, or nothing when that group failed.
void ShowLastGroup(TQRCode& qr, const CheckOutcome& outcome, int version, int sizeIndex,
                   const EncodeChoice& choice = {});

}  // namespace mosaiko
