// The picture formats of mosaiko-qr: the symbols painted as the TQRCode
// control paints them, on a plain picture, written as PNG or recorded as a
// metafile.
#pragma once

#include <string>

#include "QrFormats.h"
#include "QrOptions.h"

namespace mosaiko::cli {

// Paints the symbols of `code` with the control and writes the picture;
// returns the exit status (0 made, 1 a symbol could not be made, 2 usage).
int RunPicture(const QrOptions& options, QrFormat format, std::string code);

}  // namespace mosaiko::cli
