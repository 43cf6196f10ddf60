// The encoding driver: turns the text of `Code` into data bytes (with tilde
// escapes for arbitrary bytes), splits the data over 1 to 1024 symbols, and
// runs the per-symbol loop that builds each piece. The image control drives
// it with its painters; the portable-bitmap text and the command-line tool
// use the same loop.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "QrEncoder.h"

namespace mosaiko {

// What a per-symbol loop does with each piece. The driver has copied piece k
// into the symbol text before Build is called.
class SymbolVisitor {
public:
    virtual ~SymbolVisitor() = default;
    // Before piece k is taken: grid placement, comment numbering.
    virtual void BeforeSymbol(int /*k*/) {}
    // Builds (and paints) symbol k; false ends the loop.
    virtual bool Build(int k) = 0;
};

// A setting that the consistency check refuses: the item and its value.
struct SettingsError {
    std::string item;  // "Len", "Count", "Mode", "Column", "Offset[k]"
    int value = 0;
    std::string Message() const;  // "Illegal <item> : <value>"
};

class QrDriver : public QrEncoder {
public:
    static constexpr int kMaxPieces = 1024;

    QrDriver();

    // Storing the code or the escape switch converts the code again.
    void SetCode(std::string code);
    void SetBinaryOperation(bool on);
    bool SetPxmag(int pxmag);  // 1-10 pixels per module
    const std::string& Code() const { return code_; }
    int Len() const { return len_; }
    bool Binary() const { return binary_; }
    bool BinaryOperation() const { return binaryOperation_; }
    int Pxmag() const { return pxmag_; }
    const uint8_t* Data() const { return data_.data(); }
    void SetCurrentSymbol(int k) { currentSymbol_ = k; }

    int ConvertCode();
    void SplitData();
    int Offset(int k) const { return offsets_[k]; }
    int PieceLength(int k) const { return offsets_[k] - offsets_[k - 1]; }

    // Consistency of Len, Count, Mode, Column and the offsets after a split;
    // on success, the parity of a structured-append run is computed.
    bool CheckSettings(int column, SettingsError& error);

    // Runs pieces 1..Count through the visitor; true when every piece was built.
    bool RunSymbols(SymbolVisitor& visitor);

    // The symbols of the last split as plain portable-bitmap text, rebuilt
    // on every call into the same list.
    const std::vector<std::string>& GetPBM();
    void BuildPbmText();
    void AppendPbmBitmap();

private:
    void ComputeParity();

    std::string code_;
    std::vector<uint8_t> data_;  // converted code, Len + 4 bytes, the last 4 zero
    int len_ = 0;
    bool binary_ = false;
    bool binaryOperation_ = false;
    int pxmag_ = 1;
    std::array<int, kMaxPieces + 1> offsets_{};
    std::vector<std::string> pbm_;
};

}  // namespace mosaiko
