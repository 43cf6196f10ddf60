// The module matrix: function patterns, reserved areas and the zig-zag
// placement of the codeword bits.
#include <algorithm>
#include <cassert>
#include <cstring>

#include "FunctionPatterns.h"
#include "Placement.h"
#include "QrEncoder.h"

namespace mosaiko {

using namespace patterns;

void QrEncoder::DrawFinder(int top, int left) {
    for (int i = 0; i < 7; ++i)
        for (int j = 0; j < 7; ++j) SetCell(top + i, left + j, kFinder[i][j]);
}

// Every pair of coordinates, except the three whose centre lies in a finder.
void QrEncoder::DrawAlignmentPatterns() {
    const VersionParameters& p = Params();
    for (int a = 0; a < p.AlignmentCount; ++a) {
        for (int b = 0; b < p.AlignmentCount; ++b) {
            const int r = p.AlignmentCoords[a];
            const int c = p.AlignmentCoords[b];
            if (ModuleIsFunction(r, c)) continue;
            for (int i = 0; i < 5; ++i)
                for (int j = 0; j < 5; ++j) SetCell(r - 2 + i, c - 2 + j, kAlignment[i][j]);
        }
    }
}

void QrEncoder::DrawTimingPatterns() {
    const int n = ModulesPerSide();
    for (int i = 7; i <= n - 9; ++i) {
        const uint8_t value = i % 2 == 0 ? (kFunctionBit | kDarkBit) : kFunctionBit;
        SetCell(i, 6, value);
        SetCell(6, i, value);
    }
}

void QrEncoder::ReserveFormatAndVersionAreas() {
    const int n = ModulesPerSide();
    for (int i = 0; i < 15; ++i) {
        OrCell(Resolve(kFormatList1[i].row, n), Resolve(kFormatList1[i].column, n), kFunctionBit);
        OrCell(Resolve(kFormatList2[i].row, n), Resolve(kFormatList2[i].column, n), kFunctionBit);
    }
    OrCell(Resolve(kDarkModule.row, n), Resolve(kDarkModule.column, n), kFunctionBit);
    if (version_ < 7) return;
    for (int i = 0; i < 18; ++i) {
        OrCell(Resolve(VersionList1(i).row, n), Resolve(VersionList1(i).column, n), kFunctionBit);
        OrCell(Resolve(VersionList2(i).row, n), Resolve(VersionList2(i).column, n), kFunctionBit);
    }
}

// Cells outside the symbol stay 0, so only the square the last symbol used
// (or the new one, if larger) can hold anything: clearing that is clearing all.
void QrEncoder::ClearMatrix(int n) {
    const int side = std::max(usedSide_, n);
    for (int r = 0; r < side; ++r) std::memset(matrix_ + r * kMaxModules, 0, side);
    usedSide_ = n;
}

// The function patterns depend on the size alone: drawn once per size, then
// copied from the drawing kept in functionCells_.
void QrEncoder::BuildFunctionPatterns() {
    const int n = ModulesPerSide();
    maskSearch_.ForgetPlacement();
    if (functionN_ == n && usedSide_ == n) {
        CopyFunctionCells(n);
        return;
    }
    ClearMatrix(n);
    DrawFinder(0, 0);
    DrawFinder(0, n - 7);
    DrawFinder(n - 7, 0);
    for (int i = 0; i < 8; ++i) {  // separators: light function modules around the finders
        SetCell(i, 7, kFunctionBit);
        SetCell(7, i, kFunctionBit);
        SetCell(i, n - 8, kFunctionBit);
        SetCell(n - 8, i, kFunctionBit);
        SetCell(n - 1 - i, 7, kFunctionBit);
        SetCell(7, n - 1 - i, kFunctionBit);
    }
    DrawAlignmentPatterns();
    DrawTimingPatterns();
    ReserveFormatAndVersionAreas();
    for (int r = 0; r < n; ++r) std::memcpy(functionCells_ + r * kMaxModules, matrix_ + r * kMaxModules, n);
    functionN_ = n;
}

// Row by row; the cells beyond the symbol are 0 already (the last symbol
// had the same size).
void QrEncoder::CopyFunctionCells(int n) {
    for (int r = 0; r < n; ++r) std::memcpy(matrix_ + r * kMaxModules, functionCells_ + r * kMaxModules, n);
}

// The codeword bits into the free cells; the mask search gets the data
// columns from the same walk.
void QrEncoder::PlaceCodewords() {
    const int n = ModulesPerSide();
    const int bits = Params().TotalCodewords * 8;
    [[maybe_unused]] const int walked = PlaceCodewordBits(matrix_, n, sequence_, bits, maskSearch_.ForPlacement(matrix_, kMaxModules, n));
    assert(walked == bits + Params().RemainderBits);
}

}  // namespace mosaiko
