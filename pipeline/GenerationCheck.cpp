#include "GenerationCheck.h"

#include "BestSetting.h"
#include "GroupAssembly.h"
#include "QRCode3.h"
#include "ReportForm.h"

namespace mosaiko {

void EncodeGroup(TQRCode& qr, const std::string& codeText, int version, int sizeIndex,
                 const EncodeChoice& choice) {
    qr.SetSymbolEnabled(false);
    qr.ClearSymbol();
    qr.SetClearOption(true);
    qr.SetColumn(TQRCode::kMaxColumn);
    qr.SetVersion(version);
    qr.SetPxmag(sizeIndex + 1);  // no item selected sends 0, which the control ignores
    qr.SetEclevel(choice.eclevel);
    qr.SetEmodeOptimal(choice.optimal);
    qr.SetBinaryOperation(true);
    qr.SetCode(codeText);
    // The text is converted once more with escapes on: setting the switch
    // above converted the previous text, and a failure there switched it off.
    qr.SetBinaryOperation(true);
    qr.SetSymbolEnabled(true);
}

namespace {
SymbolRequest GroupRequest(std::string_view data, int version, int sizeIndex, const EncodeChoice& choice) {
    SymbolRequest request;
    request.data = data;
    request.version = version;
    request.eclevel = choice.eclevel;
    request.optimal = choice.optimal;
    request.pxmag = sizeIndex + 1;  // 0 is out of range and keeps the magnification
    return request;
}
}  // namespace

const SymbolResult& EncodeGroupData(SymbolEncoder& symbols, std::string_view data, int version, int sizeIndex,
                                    const EncodeChoice& choice) {
    return symbols.Encode(GroupRequest(data, version, sizeIndex, choice));
}

bool FitsHost(const SymbolResult& symbol) { return symbol.made && symbol.sidePixels <= kHostPictureSide; }

bool SymbolFitsHost(int version, int magnification) {
    return (SymbolParameters[version].ModulesPerSide + 2 * kQuietModules) * magnification <= kHostPictureSide;
}

namespace {

// A symbol wider than the picture fails whatever the text, so that reason
// comes first; otherwise the data did not fit the version.
GroupFailure FailureOf(SymbolEncoder& symbols, const SymbolResult& symbol, std::string_view data, int group,
                       bool optimal) {
    GroupFailure failure;
    failure.group = group;
    failure.symbolPixels = symbol.sidePixels;
    failure.picturePixels = kHostPictureSide;
    const bool tooWide = symbol.sidePixels > kHostPictureSide;
    failure.reason = tooWide ? GroupFailure::SymbolTooWide : GroupFailure::DataTooLong;
    failure.dataBytes = static_cast<int>(data.size());
    failure.capacityBytes = symbols.ByteCapacity();
    failure.fitsSmallest = !tooWide && !optimal && symbols.FitsSmallest(data);
    return failure;
}

}  // namespace

CheckOutcome RunGenerationCheck(const MemoLines& memo, SymbolEncoder& symbols, int version, int sizeIndex,
                                const std::function<bool()>& step, const RowTextFit* rows,
                                const EncodeChoice& choice, DataNeed* need) {
    CheckOutcome outcome;
    GroupCursor cursor(memo);
    while (!cursor.AtEnd()) {
        GroupTexts group = cursor.Next();
        ++outcome.groups;
        // The check needs only whether each group fits; the last one is built
        // whole, so the encoder is left holding its symbol, as a kept control is.
        const SymbolRequest request = GroupRequest(group.data, version, sizeIndex, choice);
        const SymbolResult symbol = cursor.AtEnd() ? symbols.Encode(request) : symbols.Measure(request);
        if (!FitsHost(symbol)) {
            outcome.failures.push_back(FailureOf(symbols, symbol, group.data, outcome.groups, choice.optimal));
            ++outcome.errors;
        }
        if (need) need->Add(group.data);
        if (rows) {
            const TextFit fit = rows->Measure(group.labelText);
            if (fit.cut) outcome.overflows.push_back({outcome.groups, fit.shownLines});
        }
        outcome.lastCodeText = std::move(group.codeText);
        if (step && !step()) break;
    }
    outcome.capacity = symbols.Capacity();
    return outcome;
}

void ShowLastGroup(TQRCode& qr, const CheckOutcome& outcome, int version, int sizeIndex,
                   const EncodeChoice& choice) {
    if (outcome.groups == 0) return;
    EncodeGroup(qr, outcome.lastCodeText, version, sizeIndex, choice);
    const bool fits = qr.SymbolHeightS() <= kHostPictureSide && qr.SymbolWidthS() <= kHostPictureSide;
    if (qr.SymbolDisped() && !fits) qr.ClearSymbol();
}

}  // namespace mosaiko
