// Runs of one character class, the scan under the automatic segmentation.
#pragma once

#include <cstdint>

namespace mosaiko {

// Bytes at the start of text[0, length) whose character class is cls (0
// digit, 1 other alphanumeric, 2 byte; see CharClassAt). Sixteen bytes a step
// where the CPU has SSSE3.
int ClassRunLength(const uint8_t* text, int length, int cls);
// The same byte by byte: the reference of the fast scan.
int ClassRunLengthPlain(const uint8_t* text, int length, int cls);

}  // namespace mosaiko
