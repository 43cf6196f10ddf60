// The encoding driver: turns the text of `Code` into data bytes (with tilde
// escapes for arbitrary bytes), splits the data over 1 to kMaxPieces symbols,
// and runs the per-symbol loop that builds each piece with its encoder. The image control drives
// it with its painters; the portable-bitmap text and the command-line tool
// use the same loop.
#pragma once

#include <array>
#include <string>
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
    std::string item;  // "Len", "Count", "Mode", "Offset[k]", or a setting of the caller
    int value = 0;
    std::string Message() const;  // "Illegal <item> : <value>"
    bool Fail(std::string failedItem, int failedValue);  // records them; false
};

class QrDriver {
public:
    QrDriver();
    QrDriver(const QrDriver&) = delete;
    QrDriver& operator=(const QrDriver&) = delete;

    // The encoder of the pieces: the symbol settings, the structured-append
    // state that the split and the loop adjust, and the last symbol built.
    QrEncoder& Encoder() { return encoder_; }
    const QrEncoder& Encoder() const { return encoder_; }

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
    void SetCurrentSymbol(int k);

    int ConvertCode();
    void SplitData();
    int Offset(int k) const { return offsets_[k]; }
    int PieceLength(int k) const { return offsets_[k] - offsets_[k - 1]; }

    // Consistency of Len, Count and Mode (CheckCounts), then of the offsets
    // after a split (CheckPieces, which on success computes the parity of a
    // structured-append run). A caller with settings of its own checks them
    // between the two.
    bool CheckCounts(SettingsError& error) const;
    bool CheckPieces(SettingsError& error);
    bool CheckSettings(SettingsError& error) { return CheckCounts(error) && CheckPieces(error); }

    // Runs pieces 1..Count through the visitor; true when every piece was built.
    bool RunSymbols(SymbolVisitor& visitor);

    // The symbols of the last split as plain portable-bitmap text, rebuilt
    // on every call into the same list.
    const std::vector<std::string>& GetPBM();
    void BuildPbmText();
    void AppendPbmBitmap();

private:
    void ComputeParity();

    QrEncoder encoder_;
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
