#include "WmfWriter.h"

#include <algorithm>
#include <vector>

#include "FontRecord.h"
#include "RecordBytes.h"
#include "ShiftJis.h"
#include "ShiftJisText.h"

namespace mosaiko {
namespace {

enum : uint16_t {
    META_EOF = 0x0000,
    META_SETBKMODE = 0x0102,
    META_SETMAPMODE = 0x0103,
    META_SETTEXTALIGN = 0x012E,
    META_SELECTOBJECT = 0x012D,
    META_DELETEOBJECT = 0x01F0,
    META_SETBKCOLOR = 0x0201,
    META_SETTEXTCOLOR = 0x0209,
    META_SETWINDOWORG = 0x020B,
    META_SETWINDOWEXT = 0x020C,
    META_CREATEPENINDIRECT = 0x02FA,
    META_CREATEFONTINDIRECT = 0x02FB,
    META_CREATEBRUSHINDIRECT = 0x02FC,
    META_RECTANGLE = 0x041B,
    META_EXTTEXTOUT = 0x0A32,
};
constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr uint16_t kPlaceableSize = 22;
constexpr uint16_t kMetaHeaderSize = 18;
constexpr uint16_t kAnisotropic = 8;
constexpr uint16_t kPsNull = 5;
constexpr uint16_t kEtoOpaque = 0x0002;

// Splits Shift-JIS bytes into characters (a lead byte takes the next byte);
// returns the byte length of each.
std::vector<int> CharacterLengths(std::string_view sjis) {
    std::vector<int> lengths;
    for (size_t i = 0; i < sjis.size();) {
        const int len = static_cast<int>(CharacterLength(sjis, i));
        lengths.push_back(len);
        i += static_cast<size_t>(len);
    }
    return lengths;
}

// One advance per byte from the advances per UTF-16 unit: each character's
// advance (the sum over the units it decodes to) is split over its bytes, the
// lead byte taking the smaller half, as readers add them up again per character.
std::vector<int> ByteAdvances(const TMetaTextOut& text) {
    std::vector<int> perByte;
    size_t unit = 0;
    size_t offset = 0;
    for (int len : CharacterLengths(text.text)) {
        const auto units = static_cast<size_t>(DecodeShiftJis(std::string_view(text.text).substr(offset, len)).size());
        int advance = 0;
        for (size_t u = 0; u < units; ++u, ++unit) advance += unit < text.advances.size() ? text.advances[unit] : 0;
        if (len == 2) perByte.push_back(advance / 2);
        perByte.push_back(len == 2 ? advance - advance / 2 : advance);
        offset += static_cast<size_t>(len);
    }
    return perByte;
}

class WmfBuilder {
public:
    explicit WmfBuilder(const TMetafile& metafile) : metafile_(metafile) {}

    std::string Build(TWmfForm form) {
        if (form == TWmfForm::File) WritePlaceable();
        start_ = out_.Size();
        WriteMetaHeader();
        Record(META_SETMAPMODE, {kAnisotropic});
        Record(META_SETWINDOWORG, {0, 0});
        Record(META_SETWINDOWEXT, {Clamp(metafile_.Height()), Clamp(metafile_.Width())});
        Record(META_SETTEXTALIGN, {0});  // TA_TOP | TA_LEFT: (x, y) is the cell's corner
        SelectNullPen();
        for (const TMetafileRecord& record : metafile_.Records()) std::visit(*this, record);
        Record(META_EOF, {});
        out_.PatchU32(start_ + 6, static_cast<uint32_t>((out_.Size() - start_) / 2));  // mtSize
        out_.PatchU16(start_ + 10, static_cast<uint16_t>(objects_.Size()));
        out_.PatchU32(start_ + 12, maxRecordWords_);
        return out_.Take();
    }

    void operator()(const TMetaSelectBrush& brush) {
        const uint32_t index = objects_.Create();
        const size_t at = Begin(META_CREATEBRUSHINDIRECT);
        out_.U16(brush.style == bsClear ? 1 : 0);  // BS_NULL or BS_SOLID
        out_.U32(brush.color & 0xFFFFFF);
        out_.U16(0);  // hatch
        End(at);
        Replace(brush_, index);
    }
    void operator()(const TMetaFillRect& fill) {
        if (fill.right <= fill.left || fill.bottom <= fill.top) return;
        Record(META_RECTANGLE, {Clamp(fill.bottom), Clamp(fill.right), Clamp(fill.top), Clamp(fill.left)});
    }
    void operator()(const TMetaSelectFont& select) {
        const uint32_t index = objects_.Create();
        const size_t at = Begin(META_CREATEFONTINDIRECT);
        WriteLogFont(out_, select.font, LogFontKind::Wmf);
        End(at);
        Replace(font_, index);
    }
    void operator()(const TMetaSetTextColor& c) { Color(META_SETTEXTCOLOR, c.color); }
    void operator()(const TMetaSetBkColor& c) { Color(META_SETBKCOLOR, c.color); }
    void operator()(const TMetaSetBkMode& m) {
        opaque_ = m.opaque;
        Record(META_SETBKMODE, {static_cast<uint16_t>(m.opaque ? 2 : 1), 0});  // OPAQUE, TRANSPARENT
    }
    void operator()(const TMetaTextOut& text) { WriteText(text); }

private:
    static uint16_t Clamp(int v) { return static_cast<uint16_t>(static_cast<int16_t>(std::clamp(v, -32768, 32767))); }

    size_t Begin(uint16_t function) {
        const size_t at = out_.Size();
        out_.U32(0);  // size in 16-bit words, set by End
        out_.U16(function);
        return at;
    }
    void End(size_t at) {
        out_.Pad(2);
        const auto words = static_cast<uint32_t>((out_.Size() - at) / 2);
        out_.PatchU32(at, words);
        maxRecordWords_ = std::max(maxRecordWords_, words);
    }
    // A record of 16-bit parameters, given in the order they are stored.
    void Record(uint16_t function, std::initializer_list<uint16_t> params) {
        const size_t at = Begin(function);
        for (uint16_t p : params) out_.U16(p);
        End(at);
    }
    void Color(uint16_t function, TColor color) {
        const size_t at = Begin(function);
        out_.U32(color & 0xFFFFFF);
        End(at);
    }
    // Selected before the replaced object is deleted, which GDI requires.
    void Replace(std::optional<uint32_t>& current, uint32_t index) {
        Record(META_SELECTOBJECT, {static_cast<uint16_t>(index)});
        if (current) {
            Record(META_DELETEOBJECT, {static_cast<uint16_t>(*current)});
            objects_.Delete(*current);
        }
        current = index;
    }
    void SelectNullPen() {
        const uint32_t index = objects_.Create();
        const size_t at = Begin(META_CREATEPENINDIRECT);
        out_.U16(kPsNull);
        out_.U16(0);  // width (x, y)
        out_.U16(0);
        out_.U32(0);  // colour
        End(at);
        Record(META_SELECTOBJECT, {static_cast<uint16_t>(index)});
    }

    void WritePlaceable();
    void WriteMetaHeader();
    void WriteText(const TMetaTextOut& text);

    const TMetafile& metafile_;
    TByteWriter out_;
    size_t start_ = 0;
    uint32_t maxRecordWords_ = 0;
    TObjectTable objects_{0};
    std::optional<uint32_t> brush_;
    std::optional<uint32_t> font_;
    bool opaque_ = true;
};

void WmfBuilder::WritePlaceable() {
    out_.U32(kPlaceableKey);
    out_.U16(0);  // hWmf
    out_.U16(0);  // bounding box: left, top, right, bottom
    out_.U16(0);
    out_.U16(Clamp(metafile_.Width()));
    out_.U16(Clamp(metafile_.Height()));
    out_.U16(TMetafile::kReferenceDpi);  // logical units per inch
    out_.U32(0);                         // reserved
    uint16_t checksum = 0;               // XOR of the ten words before it
    for (size_t i = 0; i < 20; i += 2) checksum ^= static_cast<uint16_t>(ReadU16(out_.Data(), i));
    out_.U16(checksum);
}

void WmfBuilder::WriteMetaHeader() {
    out_.U16(1);                   // mtType: memory metafile
    out_.U16(kMetaHeaderSize / 2);  // mtHeaderSize in words
    out_.U16(0x0300);              // mtVersion
    out_.U32(0);                   // mtSize, patched
    out_.U16(0);                   // mtNoObjects, patched
    out_.U32(0);                   // mtMaxRecord, patched
    out_.U16(0);                   // mtNoParameters
}

void WmfBuilder::WriteText(const TMetaTextOut& text) {
    const size_t at = Begin(META_EXTTEXTOUT);
    out_.U16(Clamp(text.y));
    out_.U16(Clamp(text.x));
    out_.U16(static_cast<uint16_t>(text.text.size()));
    out_.U16(opaque_ ? kEtoOpaque : 0);
    if (opaque_) {
        out_.U16(Clamp(text.x));  // the opaque rectangle, right and bottom exclusive
        out_.U16(Clamp(text.y));
        out_.U16(Clamp(text.x + text.width));
        out_.U16(Clamp(text.y + text.height));
    }
    out_.Bytes(text.text);
    out_.Pad(2);
    for (int dx : ByteAdvances(text)) out_.U16(Clamp(dx));
    End(at);
}

}  // namespace

std::string WriteWmf(const TMetafile& metafile, TWmfForm form) { return WmfBuilder(metafile).Build(form); }

TMetafilePict MetafilePictExtents(const TMetafile& metafile) {
    return TMetafilePict{kAnisotropic, metafile.MMWidth(), metafile.MMHeight()};
}

std::optional<TWmfHeader> ReadWmfHeader(std::string_view wmf) {
    TWmfHeader h;
    h.placeable = ReadU32(wmf, 0) == kPlaceableKey;
    if (h.placeable) {
        h.boundsRight = ReadI16(wmf, 10);
        h.boundsBottom = ReadI16(wmf, 12);
        h.unitsPerInch = static_cast<uint16_t>(ReadU16(wmf, 14));
        uint16_t checksum = 0;
        for (size_t i = 0; i < 20; i += 2) checksum ^= static_cast<uint16_t>(ReadU16(wmf, i));
        h.checksumOk = checksum == ReadU16(wmf, 20);
        h.headerOffset = kPlaceableSize;
    }
    const size_t at = h.headerOffset;
    if (wmf.size() < at + kMetaHeaderSize || ReadU16(wmf, at + 2) != kMetaHeaderSize / 2) return std::nullopt;
    h.sizeWords = ReadU32(wmf, at + 6);
    h.objects = static_cast<uint16_t>(ReadU16(wmf, at + 10));
    h.maxRecordWords = ReadU32(wmf, at + 12);
    return h;
}

}  // namespace mosaiko
