#include "FontRecord.h"

#include "ShiftJis.h"
#include "ShiftJisText.h"

namespace mosaiko {
namespace {

constexpr uint8_t kShiftJisCharset = 128;
constexpr int kFaceBytes = 32;  // the face name field, its terminator included

// A face name in at most 31 Shift-JIS bytes, not cutting a character in two.
std::string ShiftJisFaceName(const QString& name) {
    const std::string sjis = EncodeShiftJis(name);
    size_t end = 0;
    while (end < sjis.size()) {
        const size_t len = CharacterLength(sjis, end);
        if (end + len > kFaceBytes - 1) break;
        end += len;
    }
    return sjis.substr(0, end);
}

}  // namespace

void WriteLogFont(TByteWriter& out, const TMetaFont& font, LogFontKind kind) {
    const bool emf = kind == LogFontKind::Emf;
    // Height (negative: the character's em height), width (the font's own),
    // escapement, orientation, weight.
    for (int v : {-font.height, 0, 0, 0, font.bold ? 700 : 400}) {
        if (emf) out.I32(v);
        else out.I16(v);
    }
    out.U8(font.italic);
    out.U8(font.underline);
    out.U8(font.strikeOut);
    out.U8(kShiftJisCharset);
    out.Zeros(4);  // out precision, clip precision, quality, pitch and family
    if (emf) {
        const QString face = font.name.left(kFaceBytes - 1);
        for (int i = 0; i < kFaceBytes; ++i) out.U16(i < face.size() ? face.at(i).unicode() : 0);
    } else {
        const std::string face = ShiftJisFaceName(font.name);
        out.Bytes(face);
        out.Zeros(kFaceBytes - face.size());
    }
}

}  // namespace mosaiko
