// Writes a recorded TMetafile as a Windows Metafile (WMF, the 16-bit format
// of CF_METAFILEPICT and .wmf files): our own conversion of the recording, as
// GDI's enhanced-to-Windows conversion does with MM_ANISOTROPIC.
//
// The records start with META_SETMAPMODE MM_ANISOTROPIC, META_SETWINDOWORG
// (0, 0) and META_SETWINDOWEXT (Width, Height), so one logical unit is one
// reference pixel and a player scales the picture to whatever extent it is
// given. Then, per recorded operation:
//   brush   META_CREATEBRUSHINDIRECT + META_SELECTOBJECT, the replaced brush deleted
//   fill    META_RECTANGLE with a PS_NULL pen selected (WMF has no stock objects)
//   font    META_CREATEFONTINDIRECT (SHIFTJIS_CHARSET, face name in Shift-JIS)
//           + META_SELECTOBJECT, the replaced font deleted
//   colours META_SETTEXTCOLOR, META_SETBKCOLOR, META_SETBKMODE
//   text    META_EXTTEXTOUT with the Shift-JIS bytes and one advance per byte
//           (a double-byte character's advance split over its two bytes),
//           ETO_OPAQUE over the text cell when the background is opaque
// and META_EOF. Coordinates are 16-bit: larger values are clamped.
//
// A file starts with the Aldus placeable header (key 0x9AC6CDD7, bounding box
// (0, 0, Width, Height) at 96 units per inch) so that readers size it; the
// clipboard form is the bare METAHEADER, sized by the picture record instead.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "Metafile.h"

namespace mosaiko {

enum class TWmfForm { File, Clipboard };

std::string WriteWmf(const TMetafile& metafile, TWmfForm form = TWmfForm::File);

// The METAFILEPICT record that goes with clipboard WMF bits: MM_ANISOTROPIC
// and the picture's size in 0.01 mm.
struct TMetafilePict {
    int32_t mappingMode = 8;  // MM_ANISOTROPIC
    int32_t xExt = 0;
    int32_t yExt = 0;
};
TMetafilePict MetafilePictExtents(const TMetafile& metafile);

// Header fields of WMF bytes (with or without the placeable header).
struct TWmfHeader {
    bool placeable = false;
    int16_t boundsRight = 0;   // placeable bounding box, left and top are 0
    int16_t boundsBottom = 0;
    uint16_t unitsPerInch = 0;
    bool checksumOk = false;
    uint32_t sizeWords = 0;    // mtSize
    uint16_t objects = 0;      // mtNoObjects
    uint32_t maxRecordWords = 0;
    size_t headerOffset = 0;   // where the METAHEADER starts
};
std::optional<TWmfHeader> ReadWmfHeader(std::string_view wmf);

}  // namespace mosaiko
