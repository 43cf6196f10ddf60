// Flags of one module matrix cell.
#pragma once

#include <cstdint>

namespace mosaiko {

inline constexpr uint8_t kDataBit = 1;      // codeword bit placed here, before masking
inline constexpr uint8_t kDarkBit = 2;      // dark in the finished symbol
inline constexpr uint8_t kFunctionBit = 4;  // function pattern or reserved area

}  // namespace mosaiko
