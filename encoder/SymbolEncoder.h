// One symbol from a request: the data bytes and the symbol settings in, a
// result out. The encoder behind it keeps its fixed buffers from call to call,
// so a caller that keeps one SymbolEncoder encodes without allocating.
#pragma once

#include <cstdint>
#include <string_view>

#include "QrEncoder.h"

namespace mosaiko {

struct SymbolRequest {
    std::string_view data;  // the bytes to encode, escapes already read
    int version = 1;        // 1-40
    int eclevel = kLevelL;  // 0-3 = L, M, Q, H
    int emode = kModeAuto;  // -1 automatic segmentation, 0-3 one fixed mode
    int masktype = -1;      // -1 automatic choice, 0-7 fixed
    int pxmag = 1;          // pixels per module side, 1-10
    bool optimal = false;   // with emode -1: the smallest encoding instead of the automatic rule
};

enum class SymbolFailure : uint8_t { None, DoesNotFit, ByteNotInMode, TooLong };

struct SymbolResult {
    bool made = false;
    SymbolFailure failure = SymbolFailure::None;
    int modules = 0;      // modules per side
    int pxmag = 1;        // the magnification used
    int sidePixels = 0;   // the symbol with its quiet zone: (modules + 8) x pxmag
    int capacity = 0;     // characters in the mode of EmodeR (alphanumeric when none), as Capacity reads
    int emodeR = kModeAuto;
    int masktypeR = -1;
    // The finished module matrix (row by row, stride kMaxModules), while the
    // encoder is not asked for another symbol; only when made.
    const uint8_t* matrix = nullptr;

    int QuietZonePixels() const { return kQuietModules * pxmag; }
    bool ModuleIsDark(int row, int column) const {
        return (matrix[row * kMaxModules + column] & kDarkBit) != 0;
    }
};

class SymbolEncoder {
public:
    // Settings out of range are ignored, as the control's setters ignore
    // them: the previous value stays (version 1 and magnification 1 at first).
    // A changed data mode or mask resets EmodeR or MasktypeR to it; an
    // unchanged one keeps the results of the last symbol made, so the
    // capacity follows the last successful encoding.
    const SymbolResult& Encode(const SymbolRequest& request);
    // What Encode would answer, from the data encoding alone: whether the
    // data fits, why not, the size and the capacity, with EmodeR left as
    // Encode leaves it. No symbol is built: the result has no matrix, its
    // masktypeR is still the last built symbol's, and Result() stays.
    SymbolResult Measure(const SymbolRequest& request);
    const SymbolResult& Result() const { return result_; }

    int Version() const { return encoder_.Version(); }
    int Pxmag() const { return pxmag_; }
    int Capacity() const { return encoder_.GetCapacity(); }
    // Whether the data would fit the version and level of the last request
    // with the smallest encoding; encodes nothing, so the results stay.
    bool FitsSmallest(std::string_view data);
    // Bytes of the version at the current level in byte mode.
    int ByteCapacity() const { return encoder_.Level().Capacity[kModeByte]; }

private:
    void Apply(const SymbolRequest& request);
    // The request's result into r, with the whole symbol built or only its data encoded.
    void Run(const SymbolRequest& request, SymbolResult& r, bool build);

    QrEncoder encoder_;
    int pxmag_ = 1;
    SymbolResult result_;
};

}  // namespace mosaiko
