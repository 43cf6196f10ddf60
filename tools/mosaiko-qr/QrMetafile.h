// The metafile formats of mosaiko-qr: --format emf, wmf or svg records the
// symbols through the control's metafile painter and writes the recording.
#pragma once

#include <optional>
#include <string>

#include "QRSymbols.h"
#include "QrFormats.h"

namespace mosaiko::cli {

// The picture kind that records a format; nothing for pbm and png.
std::optional<TPictures> MetafileKind(QrFormat format);

// The control's metafile in the format; a run whose first symbol failed has
// recorded nothing and gives an empty metafile of the control's size.
std::string MetafileBytes(const TQRPictureMaker& q, QrFormat format);

}  // namespace mosaiko::cli
