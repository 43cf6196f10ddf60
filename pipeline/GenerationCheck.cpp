#include "GenerationCheck.h"

#include <algorithm>

#include "GroupAssembly.h"
#include "QRCode3.h"
#include "QR_QR.h"

namespace mosaiko {

void EncodeGroup(TQRCode& qr, const std::string& codeText, int version, int sizeIndex) {
    qr.SetSymbolEnabled(false);
    qr.ClearSymbol();
    qr.SetClearOption(true);
    qr.SetColumn(TQRCode::kMaxColumn);
    qr.SetVersion(version);
    qr.SetPxmag(sizeIndex + 1);  // no item selected sends 0, which the control ignores
    qr.SetBinaryOperation(true);
    qr.SetCode(codeText);
    // The text is converted once more with escapes on: setting the switch
    // above converted the previous text, and a failure there switched it off.
    qr.SetBinaryOperation(true);
    qr.SetSymbolEnabled(true);
}

namespace {

// A symbol wider than the picture fails whatever the text, so that reason
// comes first; otherwise the data did not fit the version.
GroupFailure FailureOf(const TQRCode& qr, QSize host, int group) {
    GroupFailure failure;
    failure.group = group;
    failure.symbolPixels = std::max(qr.SymbolWidthS(), qr.SymbolHeightS());
    failure.picturePixels = std::min(host.width(), host.height());
    const bool tooWide = qr.SymbolWidthS() > host.width() || qr.SymbolHeightS() > host.height();
    failure.reason = tooWide ? GroupFailure::SymbolTooWide : GroupFailure::DataTooLong;
    failure.dataBytes = qr.Len();
    failure.capacityBytes = qr.Driver().Encoder().Level().Capacity[kModeByte];
    return failure;
}

}  // namespace

CheckOutcome RunGenerationCheck(const MemoLines& memo, TQRCode& qr, QSize host, int version, int sizeIndex,
                                const std::function<bool()>& step, const RowTextFit* rows) {
    CheckOutcome outcome;
    GroupCursor cursor(memo);
    while (!cursor.AtEnd()) {
        const GroupTexts group = cursor.Next();
        ++outcome.groups;
        EncodeGroup(qr, group.codeText, version, sizeIndex);
        const bool fits = qr.SymbolHeightS() <= host.height() && qr.SymbolWidthS() <= host.width();
        if (!qr.SymbolDisped() || !fits) {
            outcome.failures.push_back(FailureOf(qr, host, outcome.groups));
            if (qr.SymbolDisped()) qr.ClearSymbol();
            ++outcome.errors;
        }
        if (rows) {
            const TextFit fit = rows->Measure(group.labelText);
            if (fit.cut) outcome.overflows.push_back({outcome.groups, fit.shownLines});
        }
        if (step && !step()) break;
    }
    outcome.capacity = qr.Capacity();
    return outcome;
}

}  // namespace mosaiko
