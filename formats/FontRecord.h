// The logical-font record (LOGFONT) that both metafile formats write when a
// font is created: the same fields, 32-bit with a UTF-16 face name in EMF,
// 16-bit with a Shift-JIS face name in WMF.
#pragma once

#include "Metafile.h"
#include "RecordBytes.h"

namespace mosaiko {

enum class LogFontKind { Emf, Wmf };

void WriteLogFont(TByteWriter& out, const TMetaFont& font, LogFontKind kind);

}  // namespace mosaiko
