// Writes a recorded TMetafile as an Enhanced Metafile (EMF), the byte format
// Windows keeps on the clipboard as CF_ENHMETAFILE and in .emf files.
//
// Reference device: a screen of 1920 x 1440 pixels at 96 dpi, which is exactly
// 508 x 381 mm, so szlDevice and szlMillimeters give 96 dpi without rounding.
// Coordinates are the metafile's pixels (MM_TEXT, one logical unit = one
// device pixel); rclFrame gives the metafile's Width x Height in 0.01 mm.
//
// Records written: the header, text alignment TA_TOP | TA_LEFT and a NULL_PEN
// stock pen once, then per recorded operation:
//   brush   EMR_CREATEBRUSHINDIRECT + EMR_SELECTOBJECT, the replaced brush deleted
//   fill    EMR_BITBLT with PATCOPY and no source bitmap, which fills exactly
//           [left, right) x [top, bottom) with the brush (crisp module edges)
//   font    EMR_EXTCREATEFONTINDIRECTW (SHIFTJIS_CHARSET, lfHeight = -height)
//           + EMR_SELECTOBJECT, the replaced font deleted
//   colours EMR_SETTEXTCOLOR, EMR_SETBKCOLOR, EMR_SETBKMODE
//   text    EMR_EXTTEXTOUTW: UTF-16 text, one advance per unit, and with an
//           opaque background ETO_OPAQUE over the measured text cell
// and EMR_EOF.
#pragma once

#include <QRect>
#include <QSize>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "Metafile.h"
#include "RecordBytes.h"

namespace mosaiko {

inline constexpr QSize kEmfReferencePixels{1920, 1440};
inline constexpr QSize kEmfReferenceMillimeters{508, 381};

std::string WriteEmf(const TMetafile& metafile);

// The header's account of the whole file.
struct TEmfTotals {
    QRect bounds;  // as TMetafile::Bounds
    uint32_t bytes = 0;
    uint32_t records = 0;
    uint16_t handles = 1;
};

class EmfBuilder;

// EMF written record by record while the drawing is made, in chunks through
// `write`, the same bytes as WriteEmf. The header comes first but counts the
// whole file: a first run over the same records whose `write` drops the
// bytes gives the totals for the second.
class TEmfStream {
public:
    // `frame` gives the picture's size; its records are not read.
    TEmfStream(const TMetafile& frame, const TEmfTotals& totals, TChunkWrite write);
    ~TEmfStream();
    TEmfStream(const TEmfStream&) = delete;
    TEmfStream& operator=(const TEmfStream&) = delete;

    void Add(const TMetafileRecord& record);
    // Ends the file; false when a chunk could not be written.
    bool Finish();
    // What was written, once finished.
    TEmfTotals Totals() const;

private:
    std::unique_ptr<EmfBuilder> builder_;
};

// The header fields a reader sizes the picture by.
struct TEmfHeader {
    QRect bounds;  // inclusive, device pixels; null when nothing was drawn
    QRect frame;   // inclusive, 0.01 mm
    uint32_t bytes = 0;
    uint32_t records = 0;
    uint16_t handles = 0;
    QSize devicePixels;
    QSize deviceMillimeters;
};

// The header of EMF bytes; nothing when they do not start with an EMF header.
std::optional<TEmfHeader> ReadEmfHeader(std::string_view emf);

}  // namespace mosaiko
