#include "MetafileCanvas.h"

#include "Exception.h"
#include "ShiftJis.h"
#include "TextRender.h"

namespace mosaiko {

TMetafileCanvas::TMetafileCanvas(TMetafile& metafile) : metafile_(&metafile) {}

TMetafileCanvas::~TMetafileCanvas() {
    try {
        Close();
    } catch (...) {
        // A change handler that throws must not escape a destructor.
    }
}

void TMetafileCanvas::EnsureOpen() const {
    if (!open_) throw EInvalidOperation("Metafile canvas is closed");
}

void TMetafileCanvas::Add(TMetafileRecord record) {
    if (sink_) sink_(record);
    else records_.push_back(std::move(record));
}

template <typename Record, typename Value>
void TMetafileCanvas::Select(std::optional<Value>& last, const Value& value) {
    if (last && *last == value) return;
    last = value;
    Add(Record{value});
}

void TMetafileCanvas::SelectBrush() {
    const TMetaSelectBrush brush{brush_.Color(), brush_.Style()};
    Select<TMetaSelectBrush>(lastBrush_, brush);
}

void TMetafileCanvas::FillRect(int left, int top, int right, int bottom) {
    EnsureOpen();
    if (brush_.Style() == bsClear || right <= left || bottom <= top) return;
    SelectBrush();
    Add(TMetaFillRect{left, top, right, bottom});
}

void TMetafileCanvas::TextOut(int x, int y, const std::string& shiftJis) {
    EnsureOpen();
    const QString text = DecodeShiftJis(shiftJis);
    if (text.isEmpty()) return;
    const QFont font = font_.ToQFont();
    const QSize extent = MeasureText(font, text);
    Select<TMetaSelectFont>(lastFont_, TMetaFont::FromFont(font_));
    Select<TMetaSetTextColor>(lastTextColor_, font_.Color());
    const bool opaque = brush_.Style() != bsClear;
    Select<TMetaSetBkMode>(lastOpaque_, opaque);
    if (opaque) Select<TMetaSetBkColor>(lastBkColor_, brush_.Color());
    Add(TMetaTextOut{x, y, shiftJis, extent.width(), extent.height(), CharacterAdvances(font, text)});
}

void TMetafileCanvas::Close() {
    if (!open_) return;
    open_ = false;
    TMetafile& metafile = *metafile_;
    std::vector<TMetafileRecord> records = std::move(records_);
    records_.clear();
    if (metafile.Width() == 0 || metafile.Height() == 0) {
        TMetafile probe;
        probe.SetRecords(records);
        const QRect bounds = probe.Bounds();
        const int right = bounds.isNull() ? 0 : bounds.right() + 1;
        const int bottom = bounds.isNull() ? 0 : bounds.bottom() + 1;
        metafile.SetSize(metafile.Width() == 0 ? right : metafile.Width(),
                         metafile.Height() == 0 ? bottom : metafile.Height());
    }
    metafile.SetRecords(std::move(records));
}

}  // namespace mosaiko
