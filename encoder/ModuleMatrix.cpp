// The module matrix: function patterns, reserved areas and the zig-zag
// placement of the codeword bits.
#include <cassert>
#include <cstring>

#include "FunctionPatterns.h"
#include "QrEncoder.h"

namespace mosaiko {

using namespace patterns;

bool QrEncoder::ModuleIsFunction(int row, int column) const {
    // The walk may end one column left of the symbol; that cell is outside.
    if (row < 0 || column < 0) return false;
    return (Cell(row, column) & kFunctionBit) != 0;
}

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

void QrEncoder::BuildFunctionPatterns() {
    const int n = ModulesPerSide();
    std::memset(matrix_, 0, sizeof matrix_);
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
}

void QrEncoder::StartPlacement() {
    placeColumn_ = placeRow_ = ModulesPerSide() - 1;
    columnStep_ = -1;
    rowStep_ = -1;
}

// One step of the walk in column pairs from the right edge: right cell, left
// cell, next row; turning at the top and bottom; the timing column is skipped.
void QrEncoder::AdvancePlacement() {
    const int n = ModulesPerSide();
    do {
        placeColumn_ += columnStep_;
        if (columnStep_ > 0) placeRow_ += rowStep_;
        columnStep_ = -columnStep_;
        if (placeRow_ < 0 || placeRow_ >= n) {
            placeRow_ -= rowStep_;
            rowStep_ = -rowStep_;
            placeColumn_ -= 2;
            if (placeColumn_ == 6) placeColumn_ = 5;
        }
    } while (ModuleIsFunction(placeRow_, placeColumn_));
}

void QrEncoder::PlaceCodewords() {
    StartPlacement();
    const int total = Params().TotalCodewords;
    for (int i = 0; i < total; ++i) {
        const uint8_t codeword = sequence_[i];
        for (int bit = 7; bit >= 0; --bit) {
            assert(placeColumn_ >= 0 && !ModuleIsFunction(placeRow_, placeColumn_));
            if ((codeword >> bit) & 1) OrCell(placeRow_, placeColumn_, kDataBit);
            AdvancePlacement();
        }
    }
}

}  // namespace mosaiko
