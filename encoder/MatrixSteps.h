// The cell-matrix steps that have several ways, each checked against its
// plain reference by the tests: the data bits written into the cells from the
// row lines, and a row masked. The widest way the CPU has is chosen at run
// time; the AVX2 ways are in MatrixStepsAvx2.cpp, with the AVX2 transpose of
// the lines (MaskSearch.h).
#pragma once

#include <cstdint>

#include "MaskPatterns.h"

namespace mosaiko {

// Sets the data bit of every cell whose bit is set in its row line.
void WriteDataBits(uint8_t* matrix, int n, const masks::Line* rows);
// Eight cells a step (the reference), sixteen (SSSE3; elsewhere eight).
void WriteDataBitsPlain(uint8_t* matrix, int n, const masks::Line* rows);
void WriteDataBitsSixteen(uint8_t* matrix, int n, const masks::Line* rows);

// Masks the n cells of one matrix row (n >= 16) with a row of 0/1 mask
// conditions: a data cell turns dark where its bit and the condition differ,
// function cells keep their value.
void MaskRow(uint8_t* row, const uint8_t* pattern, int n);
// Cell by cell (the reference), sixteen cells a step (SSE4.1; elsewhere cell by cell).
void MaskRowPlain(uint8_t* row, const uint8_t* pattern, int n);
void MaskRowSixteen(uint8_t* row, const uint8_t* pattern, int n);

// Thirty-two cells a step (MaskRowAvx2 for n >= 32), and the transpose of
// TransposeLinesAvx2: call them only when MatrixStepsAvx2Available().
void WriteDataBitsAvx2(uint8_t* matrix, int n, const masks::Line* rows);
void MaskRowAvx2(uint8_t* row, const uint8_t* pattern, int n);
bool MatrixStepsAvx2Available();

}  // namespace mosaiko
