// The metafile formats of mosaiko-qr: --format emf, wmf or svg records the
// symbols through the control's metafile painter and writes the recording.
#pragma once

#include <QSize>
#include <optional>
#include <string>

#include "QRSymbols.h"
#include "EmfWriter.h"
#include "QrFormats.h"
#include "QrRun.h"

namespace mosaiko::cli {

// The picture kind that records a format; nothing for pbm and png.
std::optional<TPictures> MetafileKind(QrFormat format);

// The control's metafile in the format, painted by its regeneration. EMF and
// SVG are written while the symbols are painted, their records never kept
// together: the constructor paints once to learn what the header says of
// the whole file (EMF counts its bytes), Write paints again into the output.
// A run whose first symbol failed has recorded nothing and gives an empty
// metafile of the control's size.
class MetafileOutput {
public:
    // Runs the regeneration (SymbolEnabled on); `q` must outlive this.
    MetafileOutput(TQRPictureMaker& q, QrFormat format);
    // False when a chunk could not be written.
    bool Write(const ChunkWrite& write);

private:
    TMetafile Frame() const;

    TQRPictureMaker& q_;
    QrFormat format_;
    TEmfTotals emf_;
    QSize startSize_;  // the control's size before the first painting
};

}  // namespace mosaiko::cli
