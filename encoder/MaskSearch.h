// Bit-parallel evaluation of the mask penalty.
//
// The mask choice tries all eight masks on every symbol, and reading the
// matrix module by module dominates the cost of encoding. Here each row and
// each column of the symbol is a line of up to 177 bits in three 64-bit words
// (columns come from a transposed copy), and every penalty rule becomes a few
// shifts, ANDs and popcounts per line. The scores equal those of the
// module-by-module rules exactly.
#pragma once

#include <array>
#include <cstdint>

#include "MaskPatterns.h"
#include "Placement.h"

namespace mosaiko {

// The lines of one loaded symbol.
struct MaskLines {
    using Line = masks::Line;
    Line freeRows[kMaxModules];  // data cells (not function), per row
    Line darkRows[kMaxModules];  // dark function modules, per row
    Line dataRows[kMaxModules];  // data bits, per row
    Line freeCols[kMaxModules];  // the same three, per column
    Line darkCols[kMaxModules];
    Line dataCols[kMaxModules];
};

// Columns from rows, or rows from columns, of an n x n symbol, the widest
// way the CPU has.
void TransposeLines(const masks::Line* from, masks::Line* to, int n);
// The ways, for the dispatch and the tests: bit by bit (the reference),
// 64 x 64 blocks in words, and the blocks in 256-bit registers
// (MatrixStepsAvx2.cpp; only when MatrixStepsAvx2Available(), MatrixSteps.h).
void TransposeLinesPlain(const masks::Line* from, masks::Line* to, int n);
void TransposeLinesPortable(const masks::Line* from, masks::Line* to, int n);
void TransposeLinesAvx2(const masks::Line* from, masks::Line* to, int n);

// The penalty of each of the eight masks, indexed by mask.
using MaskScores = std::array<int, 8>;

// The kernel for CPUs with AVX-512 vector popcount (MaskSearchWide.cpp),
// scoring all eight masks at once; call it only when WideKernelAvailable().
void WidePenalties(const MaskLines& lines, int n, int scores[8]);
bool WideKernelAvailable();
// The same loops for CPUs with AVX2 (MaskSearchAvx2.cpp); call it only when
// Avx2KernelAvailable().
void Avx2Penalties(const MaskLines& lines, int n, int scores[8]);
bool Avx2KernelAvailable();

// The ways of scoring a mask, the widest the CPU has being the one used.
enum class PenaltyKernel { Portable, Avx2, Avx512 };
bool KernelAvailable(PenaltyKernel kernel);

class MaskSearch {
public:
    using Line = masks::Line;

    // Takes the function and data bits of an n x n matrix of cell flags
    // (1 data, 2 dark, 4 function) stored row by row with the given stride.
    void Load(const uint8_t* cells, int stride, int n);

    // Codeword placement of an n x n symbol whose function patterns are in
    // the cells reads the free cells and writes the data lines here, so that
    // LoadPlaced need not read them back.
    PlacementLines ForPlacement(const uint8_t* cells, int stride, int n);
    // Placement cleared or redone elsewhere: the placed columns are stale.
    void ForgetPlacement() { placedN_ = 0; }

    // Load for an encoder's matrix: the function lines are kept from the last
    // symbol of the same size (the function patterns depend on the size
    // alone), the data lines come from placement when it wrote them.
    void LoadPlaced(const uint8_t* cells, int stride, int n);

    // Penalties of the loaded symbol under each mask; the reserved format
    // and version cells count as light. Uses the widest kernel the CPU has.
    MaskScores Penalties() const;
    // The same with the given kernel, which must be available.
    MaskScores PenaltiesWith(PenaltyKernel kernel) const;
    int Penalty(int mask) const { return Penalties()[mask]; }
    // One mask with the portable kernel.
    int PortablePenalty(int mask) const;

    // The mask with the lowest penalty; ties keep the lower mask number.
    int BestMask() const;

private:
    template <int W>
    int PenaltyOf(int mask) const;
    void LoadFunctionLines(const uint8_t* cells, int stride, int n);
    void LoadDataRows(const uint8_t* cells, int stride, int n);
    static PenaltyKernel WidestKernel();

    int n_ = 0;
    int functionN_ = 0;  // size whose encoder function lines are loaded, 0 = none
    int placedN_ = 0;    // size whose data columns placement wrote, 0 = none
    PenaltyKernel kernel_ = WidestKernel();
    MaskLines lines_;
    uint8_t placementScratch_[kPlacementScratch];
};

}  // namespace mosaiko
