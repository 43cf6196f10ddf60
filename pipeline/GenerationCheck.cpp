#include "GenerationCheck.h"

#include "GroupAssembly.h"
#include "QRCode3.h"

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

CheckOutcome RunGenerationCheck(const MemoLines& memo, TQRCode& qr, QSize host, int version, int sizeIndex,
                                const std::function<bool()>& step) {
    CheckOutcome outcome;
    GroupCursor cursor(memo);
    while (!cursor.AtEnd()) {
        const GroupTexts group = cursor.Next();
        ++outcome.groups;
        EncodeGroup(qr, group.codeText, version, sizeIndex);
        const bool fits = qr.SymbolHeightS() <= host.height() && qr.SymbolWidthS() <= host.width();
        if (!qr.SymbolDisped() || !fits) {
            if (qr.SymbolDisped()) qr.ClearSymbol();
            ++outcome.errors;
            outcome.failedGroups.push_back(outcome.groups);
        }
        if (step && !step()) break;
    }
    outcome.capacity = qr.Capacity();
    return outcome;
}

}  // namespace mosaiko
