// The symbols as plain portable-bitmap text ("P1"): one " 0" or " 1" token
// per pixel, quiet zone included, each module Pxmag x Pxmag pixels.
#include <string>

#include "QrDriver.h"

namespace mosaiko {
namespace {

// Builds each piece and appends its bitmap, stopping at the first failure.
class PbmVisitor : public SymbolVisitor {
public:
    explicit PbmVisitor(QrDriver& driver, std::vector<std::string>& lines) : driver_(driver), lines_(lines) {}
    bool Build(int /*k*/) override {
        if (!driver_.Encoder().BuildSymbol()) return false;
        lines_.emplace_back();
        lines_.emplace_back();
        driver_.AppendPbmBitmap();
        return true;
    }

private:
    QrDriver& driver_;
    std::vector<std::string>& lines_;
};

const char* ModeLine(TQRMode mode) {
    switch (mode) {
    case qrSingle: return "Single Mode (Count = ";
    case qrConnect: return "Connect Mode (Count = ";
    default: return "Plus Mode (Count = ";
    }
}

}  // namespace

const std::vector<std::string>& QrDriver::GetPBM() {
    BuildPbmText();
    return pbm_;
}

void QrDriver::BuildPbmText() {
    pbm_.clear();
    const int width = (encoder_.ModulesPerSide() + 2 * kQuietModules) * pxmag_;
    pbm_.emplace_back("P1");
    pbm_.push_back(ModeLine(encoder_.Mode()) + std::to_string(encoder_.Count()) + ")");
    pbm_.push_back(std::to_string(width) + " " + std::to_string(width));
    PbmVisitor visitor(*this, pbm_);
    RunSymbols(visitor);
}

void QrDriver::AppendPbmBitmap() {
    const int n = encoder_.ModulesPerSide();
    const int p = pxmag_;
    const int quiet = kQuietModules * p;
    std::string blank;
    for (int i = 0; i < (n + 2 * kQuietModules) * p; ++i) blank += " 0";
    for (int i = 0; i < quiet; ++i) pbm_.push_back(blank);
    for (int r = 0; r < n; ++r) {
        std::string line = blank.substr(0, 2 * static_cast<size_t>(quiet));
        for (int c = 0; c < n; ++c) {
            const char* token = encoder_.ModuleIsDark(r, c) ? " 1" : " 0";
            for (int i = 0; i < p; ++i) line += token;
        }
        line.append(blank, 0, 2 * static_cast<size_t>(quiet));
        for (int i = 0; i < p; ++i) pbm_.push_back(line);
    }
    for (int i = 0; i < quiet; ++i) pbm_.push_back(blank);
}

}  // namespace mosaiko
