// QR Code symbol encoder (ISO/IEC 18004, versions 1-40, levels L/M/Q/H).
//
// One QrEncoder holds every buffer the encoding needs as a fixed-size member,
// so encoding a symbol allocates nothing. BuildSymbol runs the standard's
// procedure over the current symbol text: data encoding, Reed-Solomon error
// correction, interleaving, function patterns, codeword placement, masking,
// format and version information. Failures are result values (-1 or false).
#pragma once

#include <cstdint>

#include "CellFlags.h"
#include "MaskSearch.h"
#include "SymbolParameters.h"

namespace mosaiko {

// How the data is spread over several symbols.
enum TQRMode : uint8_t { qrSingle = 0, qrConnect = 1, qrPlus = 2 };

// Why the last data encoding failed.
enum class EncodeFailure : uint8_t { None, DoesNotFit, ByteNotInMode };

// At most 1024 pieces (the size of the driver's offsets table), and at most
// 16 in a structured-append run (its header's position and total fields are 4 bits).
inline constexpr int kMaxPieces = 1024;
inline constexpr int kMaxConnectPieces = 16;

// The standard's quiet zone: light modules on every side of a symbol.
inline constexpr int kQuietModules = 4;

// Penalty of an n x n matrix of cell flags, read module by module.
int EvaluatePenaltyOf(const uint8_t* cells, int stride, int n);

namespace test {
class EncoderTestPeer;
}

class QrEncoder {
public:
    QrEncoder();
    QrEncoder(const QrEncoder&) = delete;
    QrEncoder& operator=(const QrEncoder&) = delete;

    // Settings. A setter returns false and changes nothing for a value out of range.
    bool SetVersion(int version);    // 1-40
    bool SetEclevel(int level);      // 0-3 = L, M, Q, H
    bool SetEmode(int mode);         // -1 automatic, 0-3 fixed; also sets EmodeR
    // With Emode -1: the segmentation of fewest bits instead of the automatic
    // rule's neighbour-by-neighbour choice. Off by default.
    void SetEmodeOptimal(bool on) { emodeOptimal_ = on; }
    bool SetMasktype(int mask);      // -1 automatic, 0-7 fixed; also sets MasktypeR
    bool SetMode(int mode);          // TQRMode; adjusts Count to the mode's range
    bool SetCount(int count);        // 1-kMaxPieces
    int Version() const { return version_; }
    int Eclevel() const { return eclevel_; }
    int Emode() const { return emode_; }
    int EmodeR() const { return emodeR_; }
    bool EmodeOptimal() const { return emodeOptimal_; }
    int Masktype() const { return masktype_; }
    int MasktypeR() const { return masktypeR_; }
    TQRMode Mode() const { return mode_; }
    int Count() const { return count_; }
    int Parity() const { return parity_; }
    int CurrentSymbol() const { return currentSymbol_; }

    // Structured-append state written into the header of a qrConnect symbol.
    void SetStructure(TQRMode mode, int count, int parity, int currentSymbol);

    // The text of the current symbol (at most 7089 bytes; longer input is refused).
    bool SetSymbolText(const uint8_t* data, int length);

    // Capacity property: characters of mode EmodeR (alphanumeric when -1) times Count.
    int GetCapacity() const;

    // The whole sequence over the current symbol text; false when the data does not fit.
    bool BuildSymbol();
    // Only the first step of BuildSymbol, the data encoding: whether the text
    // fits, with LastFailure and EmodeR set as BuildSymbol sets them; the
    // matrix and MasktypeR stay.
    bool EncodeData();
    EncodeFailure LastFailure() const { return lastFailure_; }
    // Bits of the segments of the current symbol text (headers and payloads,
    // without structured-append header and terminator), by the automatic rule
    // or by the smallest encoding.
    int SegmentedBits(bool smallest);

    // Module matrix.
    int ModulesPerSide() const { return Params().ModulesPerSide; }
    bool ModuleIsDark(int row, int column) const { return (Cell(row, column) & kDarkBit) != 0; }
    bool ModuleDataBit(int row, int column) const { return (Cell(row, column) & kDataBit) != 0; }
    bool ModuleIsFunction(int row, int column) const { return (Cell(row, column) & kFunctionBit) != 0; }
    uint8_t Cell(int row, int column) const { return matrix_[row * kMaxModules + column]; }
    const uint8_t* Matrix() const { return matrix_; }  // row by row, stride kMaxModules

    // Buffers, for inspection.
    const uint8_t* DataCodewordBuffer() const { return dataCodewords_; }
    const uint8_t* EccCodewordBuffer() const { return eccCodewords_; }
    const uint8_t* CodewordSequence() const { return sequence_; }
    const VersionParameters& Params() const { return SymbolParameters[version_]; }
    const LevelParameters& Level() const { return Params().Levels[eclevel_]; }

private:
    // The steps of BuildSymbol, in its order; the tests reach them through EncoderTestPeer.
    friend class test::EncoderTestPeer;

    // Data encoding.
    int EncodeAuto();
    int EncodeFixed();
    int EncodeSmallest();
    int PlanSmallestSegments();  // plans the smallest encoding; its bits
    template <typename Visit>
    void ForEachPlannedSegment(Visit visit) const;
    void ResetDataBuffer();
    void PutBits(int count, uint32_t value);
    int RemainingBits() const;
    int SegmentBits(int mode, int length) const;
    int CharClass(int position, int remaining) const;
    int NextSegment(int position, int remaining, int& mode) const;

    // Error correction and interleaving.
    void ComputeErrorCorrection();
    void InterleaveCodewords();

    // Module matrix.
    void ClearMatrix(int n);
    void BuildFunctionPatterns();
    void CopyFunctionCells(int n);
    void PlaceCodewords();

    // Masking, format and version information.
    void SelectMask();
    void ApplyMask(int mask);
    int EvaluatePenalty() const;  // module by module, the reference for the fast search
    void WriteFormatAndVersion();

    void WriteStructuredAppendHeader();
    void WriteSegmentHeader(int mode, int length);
    void WritePayload(int mode, const uint8_t* text, int length);
    void WriteNumeric(const uint8_t* text, int length);
    void WriteAlphanumeric(const uint8_t* text, int length);
    void WriteBytes(const uint8_t* text, int length);
    void WriteKanji(const uint8_t* text, int length);
    void WriteEndOfStream();
    int RunLength(int position, int remaining, int cls) const;
    void SetCell(int row, int column, uint8_t value) { matrix_[row * kMaxModules + column] = value; }
    void OrCell(int row, int column, uint8_t flags) { matrix_[row * kMaxModules + column] |= flags; }
    void DrawFinder(int top, int left);
    void DrawAlignmentPatterns();
    void DrawTimingPatterns();
    void ReserveFormatAndVersionAreas();

    int version_ = 1;
    int eclevel_ = kLevelL;
    int emode_ = kModeAuto;
    int emodeR_ = kModeAuto;
    bool emodeOptimal_ = false;
    int masktype_ = -1;
    int masktypeR_ = -1;
    TQRMode mode_ = qrSingle;
    int count_ = 1;
    int parity_ = 0;
    int currentSymbol_ = 1;

    EncodeFailure lastFailure_ = EncodeFailure::None;
    uint8_t symbolText_[kMaxSymbolText] = {};
    int pieceLength_ = 0;

    // The smallest encoding's plan: per character its first byte, class,
    // mode, and the mode of the character before it on the best path.
    uint16_t planStart_[kMaxSymbolText] = {};
    uint8_t planClass_[kMaxSymbolText] = {};
    uint8_t planMode_[kMaxSymbolText] = {};
    uint8_t planFrom_[kMaxSymbolText][4] = {};
    int planChars_ = 0;

    uint8_t dataCodewords_[kMaxDataCodewords + 3] = {};  // PutBits' window reaches 3 bytes past its codeword
    int dataUsed_ = 0;  // codewords 0 .. dataUsed_ - 1 may be non-zero
    int byteIndex_ = 0;
    int bitIndex_ = 7;

    uint8_t eccCodewords_[kMaxEccCodewords] = {};
    uint8_t sequence_[kMaxCodewords] = {};

    uint8_t matrix_[kMaxModules * kMaxModules] = {};
    int usedSide_ = 0;  // rows and columns 0 .. usedSide_ - 1 may be non-zero
    uint8_t functionCells_[kMaxModules * kMaxModules] = {};  // the function patterns of size functionN_
    int functionN_ = 0;

    MaskSearch maskSearch_;
};

}  // namespace mosaiko
