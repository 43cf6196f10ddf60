// Fuzz target: arbitrary bytes and settings through the code conversion,
// the split, the per-symbol loop and the PBM text, with invariant checks.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "QrDriver.h"

using namespace mosaiko;

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// Builds every piece; a built symbol always carries the dark module.
class CheckingVisitor : public SymbolVisitor {
public:
    explicit CheckingVisitor(QrDriver& d) : d_(d) {}
    bool Build(int k) override {
        Check(k == d_.Encoder().CurrentSymbol());
        if (!d_.Encoder().BuildSymbol()) return false;
        const int n = d_.Encoder().ModulesPerSide();
        Check(d_.Encoder().ModuleIsDark(n - 8, 8));
        Check(d_.Encoder().MasktypeR() >= 0 && d_.Encoder().MasktypeR() <= 7);
        return true;
    }

private:
    QrDriver& d_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 6) return 0;
    static auto driver = std::make_unique<QrDriver>();
    QrDriver& d = *driver;
    // Out-of-range values are refused by the setters, which is part of the test.
    // Small versions most of the time: large symbols are slow under the sanitizers.
    const int version = data[0] % 42;
    d.Encoder().SetVersion((data[1] & 0x80) || version <= 10 ? version : version % 10 + 1);
    d.Encoder().SetEclevel(data[1] % 5);
    d.Encoder().SetEmode(static_cast<int>(data[2] % 6) - 1);
    d.Encoder().SetMasktype(static_cast<int>(data[3] % 10) - 1);
    d.Encoder().SetMode(data[4] % 4);
    d.Encoder().SetCount(1 + data[5] % 18);
    d.SetPxmag(1 + (data[4] >> 4) % 2);
    d.SetBinaryOperation((data[5] & 0x80) != 0);
    d.SetCode(std::string(reinterpret_cast<const char*>(data + 6), size - 6));

    Check(d.Len() >= 0 && d.Data()[d.Len()] == 0);
    if (!d.BinaryOperation()) Check(d.Len() == static_cast<int>(size - 6));
    d.SplitData();
    SettingsError error;
    Check(d.CheckSettings(error));
    Check(d.Offset(0) == 0 && d.Offset(d.Encoder().Count()) == d.Len());
    for (int k = 1; k <= d.Encoder().Count(); ++k) Check(d.Len() == 0 || d.PieceLength(k) > 0);

    CheckingVisitor visitor(d);
    const bool all = d.RunSymbols(visitor);
    Check(all == (d.Encoder().CurrentSymbol() == d.Encoder().Count() + 1));

    const std::vector<std::string>& pbm = d.GetPBM();
    const size_t width = static_cast<size_t>((d.Encoder().ModulesPerSide() + 8) * d.Pxmag());
    Check(pbm.size() >= 3 && (pbm.size() - 3) % (2 + width) == 0);
    for (size_t i = 3; i < pbm.size(); ++i) Check(pbm[i].empty() || pbm[i].size() == 2 * width);
    Check((d.Encoder().CurrentSymbol() == d.Encoder().Count() + 1) == all);
    return 0;
}
