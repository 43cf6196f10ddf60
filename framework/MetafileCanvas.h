// Canvas that records into a TMetafile, with the screen (96 dpi) as reference
// device. Drawing is collected while the canvas is open; Close() completes the
// metafile: its recording is replaced by what was drawn, and a metafile whose
// width or height is still 0 takes the right or bottom edge of the drawing.
// The destructor closes a canvas that is still open. Drawing on a closed
// canvas throws EInvalidOperation. Selections (brush, font, colours, background
// mode) are recorded only when they differ from the last ones recorded.
#pragma once

#include <optional>
#include <vector>

#include "Canvas.h"
#include "Metafile.h"

namespace mosaiko {

class TMetafileCanvas : public TCanvas {
public:
    // metafile must outlive the canvas (or its Close).
    explicit TMetafileCanvas(TMetafile& metafile);
    ~TMetafileCanvas() override;

    void FillRect(int left, int top, int right, int bottom) override;
    void TextOut(int x, int y, const std::string& shiftJis) override;

    void Close();
    bool IsOpen() const { return open_; }
    // From now on each record goes to `sink` as it is drawn and is not kept:
    // the metafile's recording stays empty.
    void SetSink(TMetafileSink sink) { sink_ = std::move(sink); }

private:
    void EnsureOpen() const;
    void Add(TMetafileRecord record);
    void SelectBrush();
    template <typename Record, typename Value>
    void Select(std::optional<Value>& last, const Value& value);

    TMetafile* metafile_;
    bool open_ = true;
    std::vector<TMetafileRecord> records_;
    TMetafileSink sink_;
    std::optional<TMetaSelectBrush> lastBrush_;
    std::optional<TMetaFont> lastFont_;
    std::optional<TColor> lastTextColor_;
    std::optional<TColor> lastBkColor_;
    std::optional<bool> lastOpaque_;
};

}  // namespace mosaiko
