// The two PBM forms mosaiko-qr writes from the control's PBM text.
#pragma once

#include <string>
#include <vector>

#include "QrRun.h"

namespace mosaiko::cli {

// The control's PBM text as it is, one line each, handed to `write` in
// chunks; false when one could not be written.
bool WritePbmText(const std::vector<std::string>& lines, const ChunkWrite& write);

// The same symbols as PBM images that image readers open: the mode line
// becomes a comment of the first header, and every later symbol gets a
// header of its own ("P1" and the size line), so the images follow one
// another as netpbm reads them. The pixels are those of the text.
bool WritePbmImages(const std::vector<std::string>& lines, const ChunkWrite& write);

// The same bytes as one string.
std::string PbmText(const std::vector<std::string>& lines);
std::string PbmImages(const std::vector<std::string>& lines);

}  // namespace mosaiko::cli
