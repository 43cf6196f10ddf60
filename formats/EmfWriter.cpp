#include "EmfWriter.h"

#include <QString>

#include "FontRecord.h"
#include "RecordBytes.h"
#include "ShiftJis.h"

namespace mosaiko {
namespace {

enum : uint32_t {
    EMR_HEADER = 1,
    EMR_EOF = 14,
    EMR_SETBKMODE = 18,
    EMR_SETTEXTALIGN = 22,
    EMR_SETTEXTCOLOR = 24,
    EMR_SETBKCOLOR = 25,
    EMR_SELECTOBJECT = 37,
    EMR_CREATEBRUSHINDIRECT = 39,
    EMR_DELETEOBJECT = 40,
    EMR_BITBLT = 76,
    EMR_EXTCREATEFONTINDIRECTW = 82,
    EMR_EXTTEXTOUTW = 84,
};
constexpr uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr uint32_t kHeaderSize = 108;           // with both header extensions
constexpr uint32_t kNullPen = 0x80000008;       // stock object NULL_PEN
constexpr uint32_t kPatCopy = 0x00F00021;
constexpr uint32_t kEtoOpaque = 0x0002;
constexpr uint32_t kGmCompatible = 1;
// 0.01 mm per reference pixel, the text scale of GM_COMPATIBLE.
constexpr float kHundredthsMmPerPixel = 2540.0f / TMetafile::kReferenceDpi;
const char16_t kDescription[] = u"Mosaiko\0QR Code\0";  // application, picture; ends in two NULs

}  // namespace

// The EMF records, kept whole (write empty) or handed out in chunks between records.
class EmfBuilder {
public:
    EmfBuilder(const TMetafile& frame, const QRect& bounds, TChunkWrite write)
        : write_(std::move(write)) {
        WriteHeader(frame, bounds);
        Simple(EMR_SETTEXTALIGN, 0);  // TA_TOP | TA_LEFT: (x, y) is the cell's corner
        Simple(EMR_SELECTOBJECT, kNullPen);
    }

    void Add(const TMetafileRecord& record) {
        std::visit(*this, record);
        drawn_.Add(record);
        if (write_ && out_.Size() >= kWriteChunk) Flush();
    }
    bool Finish() {
        WriteEof();
        if (write_) Flush();
        return ok_;
    }
    TEmfTotals Totals() const {
        return {drawn_.Rect(), static_cast<uint32_t>(written_ + out_.Size()), records_,
                static_cast<uint16_t>(std::max<uint32_t>(1, objects_.Size()))};
    }
    // Header totals, while the header is still held.
    void PatchTotals(const TEmfTotals& totals) {
        out_.PatchU32(48, totals.bytes);  // nBytes
        out_.PatchU32(52, totals.records);
        out_.PatchU16(56, totals.handles);
    }
    std::string Take() { return out_.Take(); }

    void operator()(const TMetaSelectBrush& brush) {
        const uint32_t index = objects_.Create();
        const size_t at = Begin(EMR_CREATEBRUSHINDIRECT);
        out_.U32(index);
        out_.U32(brush.style == bsClear ? 1 : 0);  // BS_NULL or BS_SOLID
        out_.U32(brush.color & 0xFFFFFF);
        out_.U32(0);  // hatch
        End(at);
        Replace(brush_, index);
    }
    void operator()(const TMetaFillRect& fill) {
        if (fill.right <= fill.left || fill.bottom <= fill.top) return;
        const size_t at = Begin(EMR_BITBLT);
        InclusiveRect(fill.left, fill.top, fill.right, fill.bottom);
        out_.I32(fill.left);
        out_.I32(fill.top);
        out_.I32(fill.right - fill.left);
        out_.I32(fill.bottom - fill.top);
        out_.U32(kPatCopy);
        out_.I32(0);  // xSrc, ySrc
        out_.I32(0);
        for (float v : {1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f}) out_.F32(v);  // xformSrc
        out_.U32(0);  // crBkColorSrc
        out_.U32(0);  // iUsageSrc
        out_.Zeros(16);  // no source bitmap: offBmi, cbBmi, offBits, cbBits
        End(at);
    }
    void operator()(const TMetaSelectFont& select) {
        const uint32_t index = objects_.Create();
        const size_t at = Begin(EMR_EXTCREATEFONTINDIRECTW);
        out_.U32(index);
        WriteLogFont(out_, select.font, LogFontKind::Emf);
        End(at);
        Replace(font_, index);
    }
    void operator()(const TMetaSetTextColor& c) { Simple(EMR_SETTEXTCOLOR, c.color & 0xFFFFFF); }
    void operator()(const TMetaSetBkColor& c) { Simple(EMR_SETBKCOLOR, c.color & 0xFFFFFF); }
    void operator()(const TMetaSetBkMode& m) {
        opaque_ = m.opaque;
        Simple(EMR_SETBKMODE, m.opaque ? 2 : 1);  // OPAQUE, TRANSPARENT
    }
    void operator()(const TMetaTextOut& text) { WriteText(text); }

private:
    size_t Begin(uint32_t type) {
        ++records_;
        const size_t at = out_.Size();
        out_.U32(type);
        out_.U32(0);  // size, set by End
        return at;
    }
    void End(size_t at) {
        out_.Pad(4);
        out_.PatchU32(at + 4, static_cast<uint32_t>(out_.Size() - at));
    }
    void Simple(uint32_t type, uint32_t value) {
        const size_t at = Begin(type);
        out_.U32(value);
        End(at);
    }
    // A new object is selected before the one it replaces is deleted: GDI
    // does not delete an object that is still selected.
    void Replace(std::optional<uint32_t>& current, uint32_t index) {
        Simple(EMR_SELECTOBJECT, index);
        if (current) {
            Simple(EMR_DELETEOBJECT, *current);
            objects_.Delete(*current);
        }
        current = index;
    }
    // EMF rectangles of drawn pixels are inclusive-inclusive.
    void InclusiveRect(int left, int top, int right, int bottom) {
        out_.I32(left);
        out_.I32(top);
        out_.I32(right - 1);
        out_.I32(bottom - 1);
    }

    void WriteHeader(const TMetafile& frame, const QRect& bounds);
    void WriteText(const TMetaTextOut& text);
    void WriteEof();
    void Flush() {
        ok_ = ok_ && write_(out_.Data());
        written_ += out_.Size();
        out_.Clear();
    }

    TChunkWrite write_;
    bool ok_ = true;
    uint64_t written_ = 0;
    TMetafileBounds drawn_;
    TByteWriter out_;
    uint32_t records_ = 0;
    TObjectTable objects_{1};
    std::optional<uint32_t> brush_;
    std::optional<uint32_t> font_;
    bool opaque_ = true;  // GDI's default background mode is OPAQUE
};

void EmfBuilder::WriteHeader(const TMetafile& frame, const QRect& bounds) {
    const size_t at = Begin(EMR_HEADER);
    if (bounds.isNull()) {
        for (int v : {0, 0, -1, -1}) out_.I32(v);  // nothing drawn
    } else {
        InclusiveRect(bounds.left(), bounds.top(), bounds.right() + 1, bounds.bottom() + 1);
    }
    InclusiveRect(0, 0, frame.MMWidth(), frame.MMHeight());  // rclFrame
    out_.U32(kEmfSignature);
    out_.U32(0x00010000);  // nVersion
    out_.U32(0);           // nBytes, patched
    out_.U32(0);           // nRecords, patched
    out_.U16(0);           // nHandles, patched
    out_.U16(0);           // sReserved
    const uint32_t descriptionChars = sizeof kDescription / sizeof(char16_t);
    out_.U32(descriptionChars);
    out_.U32(kHeaderSize);  // offDescription
    out_.U32(0);            // nPalEntries
    out_.I32(kEmfReferencePixels.width());
    out_.I32(kEmfReferencePixels.height());
    out_.I32(kEmfReferenceMillimeters.width());
    out_.I32(kEmfReferenceMillimeters.height());
    out_.U32(0);  // cbPixelFormat
    out_.U32(0);  // offPixelFormat
    out_.U32(0);  // bOpenGL
    out_.I32(kEmfReferenceMillimeters.width() * 1000);  // szlMicrometers
    out_.I32(kEmfReferenceMillimeters.height() * 1000);
    for (char16_t c : kDescription) out_.U16(c);
    End(at);
}

void EmfBuilder::WriteText(const TMetaTextOut& text) {
    const QString utf16 = DecodeShiftJis(text.text);
    const uint32_t count = static_cast<uint32_t>(utf16.size());
    const uint32_t offString = 76;  // record fields up to the string
    const uint32_t offDx = offString + (count * 2 + 3) / 4 * 4;
    const size_t at = Begin(EMR_EXTTEXTOUTW);
    InclusiveRect(text.x, text.y, text.x + text.width, text.y + text.height);  // rclBounds
    out_.U32(kGmCompatible);
    out_.F32(kHundredthsMmPerPixel);
    out_.F32(kHundredthsMmPerPixel);
    out_.I32(text.x);  // ptlReference
    out_.I32(text.y);
    out_.U32(count);
    out_.U32(offString);
    out_.U32(opaque_ ? kEtoOpaque : 0);
    out_.I32(text.x);  // the opaque rectangle, right and bottom exclusive
    out_.I32(text.y);
    out_.I32(text.x + text.width);
    out_.I32(text.y + text.height);
    out_.U32(offDx);
    for (QChar c : utf16) out_.U16(c.unicode());
    out_.Pad(4);
    for (uint32_t i = 0; i < count; ++i) out_.I32(i < text.advances.size() ? text.advances[i] : 0);
    End(at);
}

void EmfBuilder::WriteEof() {
    const size_t at = Begin(EMR_EOF);
    out_.U32(0);   // nPalEntries
    out_.U32(16);  // offPalEntries
    out_.U32(20);  // nSizeLast: this record's size
    End(at);
}

std::string WriteEmf(const TMetafile& metafile) {
    EmfBuilder builder(metafile, metafile.Bounds(), {});
    for (const TMetafileRecord& record : metafile.Records()) builder.Add(record);
    builder.Finish();
    builder.PatchTotals(builder.Totals());
    return builder.Take();
}

TEmfStream::TEmfStream(const TMetafile& frame, const TEmfTotals& totals, TChunkWrite write)
    : builder_(std::make_unique<EmfBuilder>(frame, totals.bounds, std::move(write))) {
    builder_->PatchTotals(totals);
}

TEmfStream::~TEmfStream() = default;

void TEmfStream::Add(const TMetafileRecord& record) { builder_->Add(record); }

bool TEmfStream::Finish() { return builder_->Finish(); }

TEmfTotals TEmfStream::Totals() const { return builder_->Totals(); }

std::optional<TEmfHeader> ReadEmfHeader(std::string_view emf) {
    if (ReadU32(emf, 0) != EMR_HEADER || ReadU32(emf, 40) != kEmfSignature || emf.size() < 88) return std::nullopt;
    auto rect = [&](size_t at) {
        return QRect(QPoint(ReadI32(emf, at), ReadI32(emf, at + 4)), QPoint(ReadI32(emf, at + 8), ReadI32(emf, at + 12)));
    };
    TEmfHeader h;
    h.bounds = rect(8);
    h.frame = rect(24);
    h.bytes = ReadU32(emf, 48);
    h.records = ReadU32(emf, 52);
    h.handles = static_cast<uint16_t>(ReadU16(emf, 56));
    h.devicePixels = QSize(ReadI32(emf, 72), ReadI32(emf, 76));
    h.deviceMillimeters = QSize(ReadI32(emf, 80), ReadI32(emf, 84));
    return h;
}

}  // namespace mosaiko
