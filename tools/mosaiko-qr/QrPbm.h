// The two PBM forms mosaiko-qr writes from the control's PBM text.
#pragma once

#include <string>
#include <vector>

namespace mosaiko::cli {

// The control's PBM text as it is, one line each.
std::string PbmText(const std::vector<std::string>& lines);

// The same symbols as PBM images that image readers open: the mode line
// becomes a comment of the first header, and every later symbol gets a
// header of its own ("P1" and the size line), so the images follow one
// another as netpbm reads them. The pixels are those of the text.
std::string PbmImages(const std::vector<std::string>& lines);

}  // namespace mosaiko::cli
