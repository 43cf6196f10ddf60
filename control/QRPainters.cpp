#include "QRPainters.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace mosaiko {

std::string NumberedComment(const std::string& base, int k, TNumbering numbering) {
    const std::string number = std::to_string(k);
    switch (numbering) {
    case nbrHead: return base.empty() ? number : number + " " + base;
    case nbrTail: return base.empty() ? number : base + " " + number;
    case nbrIfVoid: return base.empty() ? number : base;
    default: return base;
    }
}

TSymbolPainter::TSymbolPainter(TQRCode& control)
    : q_(control),
      originLeft_(control.symbolLeft_),
      originTop_(control.symbolTop_),
      baseUp_(control.commentUp_),
      baseDown_(control.commentDown_) {}

TSymbolPainter::~TSymbolPainter() {
    q_.commentUp_ = baseUp_;
    q_.commentDown_ = baseDown_;
}

void TSymbolPainter::BeforeSymbol(int k) {
    q_.symbolDisped_ = false;
    const int column = q_.column_;
    q_.symbolLeft_ = originLeft_ + (k - 1) % column * q_.SymbolWidthS();
    q_.symbolTop_ = originTop_ + (k - 1) / column * q_.SymbolHeightS();
    if (q_.Count() > 1) {
        q_.commentUp_ = NumberedComment(baseUp_, k, q_.numbering_);
        q_.commentDown_ = NumberedComment(baseDown_, k, q_.numbering_);
    }
}

namespace {

// One row of the module matrix as a bit set, bit c of word c / 64 set for a
// dark module: the runs are then found a word at a time, not a module at a
// time (dark and light modules alternate at random in the data area).
struct DarkRow {
    static constexpr int kWords = (kMaxModules + 63) / 64;
    // A bit is left over after the last column, so the last run always ends.
    static_assert(kMaxModules % 64 != 0);
    uint64_t words[kWords] = {};

    DarkRow(const uint8_t* cells, int n) {
        for (int c = 0; c < n; c += 8) {
            uint64_t eight = 0;  // cells c .. c + 7, the first in the low byte
            if (c + 8 <= n) std::memcpy(&eight, cells + c, 8);  // a fixed size: one load
            else std::memcpy(&eight, cells + c, static_cast<size_t>(n - c));
            // The dark bit of each byte gathered into eight bits, cell c lowest.
            constexpr int kShift = std::countr_zero(kDarkBit);
            const uint64_t dark = ((eight >> kShift) & 0x0101010101010101u) * 0x0102040810204080u >> 56;
            words[c >> 6] |= dark << (c & 63);
        }
    }
    // The columns where a run starts or ends (the module differs from the
    // one on its left; left of column 0 is light), in order, into edges:
    // starts and ends alternate, and every run ends, at n at the latest.
    // Answers their number. Each edge is found on its own, not from the last.
    int Edges(int* edges) const {
        int count = 0;
        uint64_t carry = 0;
        for (int w = 0; w < kWords; ++w) {
            uint64_t changes = words[w] ^ ((words[w] << 1) | carry);
            carry = words[w] >> 63;
            for (; changes != 0; changes &= changes - 1) edges[count++] = w * 64 + std::countr_zero(changes);
        }
        return count;
    }
};

}  // namespace

void TSymbolPainter::PaintModules(TCanvas& canvas) const {
    const QrEncoder& symbol = q_.driver_->Encoder();
    const int p = q_.Pxmag();
    const int n = symbol.ModulesPerSide();
    const int x0 = q_.symbolLeft_ + q_.spaceLeft_ + q_.QuietZone();
    const int y0 = q_.symbolTop_ + q_.spaceUp_ + q_.QuietZone();
    canvas.Brush().SetColor(q_.symbolColor_);
    canvas.Brush().SetStyle(bsSolid);
    // A row has at most (n + 1) / 2 runs; its rectangles go in one call.
    std::array<TRect, (kMaxModules + 1) / 2> runs;
    std::array<int, kMaxModules + 1> edges;
    for (int r = 0; r < n; ++r) {
        const int top = y0 + r * p;
        const DarkRow row(symbol.Matrix() + static_cast<size_t>(r) * kMaxModules, n);
        const int edgeCount = row.Edges(edges.data());
        int count = 0;
        for (int e = 0; e + 1 < edgeCount; e += 2)
            runs[static_cast<size_t>(count++)] = TRect{x0 + edges[e] * p, top, x0 + edges[e + 1] * p, top + p};
        canvas.FillRects(runs.data(), count);
    }
}

namespace {

// Left offset of a comment in a cell; a comment wider than the cell starts
// at the cell's left edge whatever its alignment.
int CommentOffset(TLocation location, int cellWidth, int textWidth) {
    int offset = 0;
    if (location == locCenter) offset = (cellWidth - textWidth) / 2;
    else if (location == locRight) offset = cellWidth - textWidth;
    return std::max(offset, 0);
}

}  // namespace

// The upper comment sits at the top of the cell when the space above the
// symbol holds it, else right on the quiet zone, reaching above the cell; the
// lower one mirrors that below the symbol.
void TSymbolPainter::PaintComments(TCanvas& canvas) const {
    const QSize up = canvas.TextExtent(q_.commentUp_);
    const QSize down = canvas.TextExtent(q_.commentDown_);
    const int x = q_.symbolLeft_;
    const int y = q_.symbolTop_;
    const int cellWidth = q_.SymbolWidthS();
    canvas.Brush().SetColor(q_.backColor_);
    canvas.Brush().SetStyle(bsSolid);
    if (!q_.commentUp_.empty()) {
        const int top = std::min(y, y + q_.spaceUp_ - up.height());
        canvas.TextOut(x + CommentOffset(q_.commentUpLoc_, cellWidth, up.width()), top, q_.commentUp_);
    }
    if (!q_.commentDown_.empty()) {
        const int below = y + q_.spaceUp_ + q_.SymbolHeight();
        const int top = std::max(below, below + q_.spaceDown_ - down.height());
        canvas.TextOut(x + CommentOffset(q_.commentDownLoc_, cellWidth, down.width()), top, q_.commentDown_);
    }
}

bool TBitmapPainter::Build(int k) {
    if (!q_.driver_->Encoder().BuildSymbol()) return false;
    if (q_.symbolDebug_) {
        q_.symbolDisped_ = true;
        return true;
    }
    const int x = q_.symbolLeft_;
    const int y = q_.symbolTop_;
    if (q_.match_ && k == 1) {
        q_.SetWidth(q_.SymbolWidthA() + x);
        q_.SetHeight(q_.SymbolHeightA() + y);
        q_.Picture().Bitmap().SetSize(q_.Width(), q_.Height());
    }
    TCanvas& canvas = q_.Canvas();
    // The whole block's background once, at the first symbol.
    if (!q_.transparent_ && k == 1) {
        canvas.Brush().SetColor(q_.backColor_);
        canvas.Brush().SetStyle(bsSolid);
        const int left = q_.match_ ? 0 : x;
        const int top = q_.match_ ? 0 : y;
        canvas.FillRect(left, top, x + q_.SymbolWidthA(), y + q_.SymbolHeightA());
    }
    PaintModules(canvas);
    PaintComments(canvas);
    q_.symbolDisped_ = true;
    return true;
}

void TMetafilePainter::OpenMetafile() {
    q_.SetWidth(q_.SymbolWidthA() + q_.symbolLeft_);
    q_.SetHeight(q_.SymbolHeightA() + q_.symbolTop_);
    q_.Picture().AssignMetafile(TMetafile(q_.Width(), q_.Height()));
    q_.metaCanvas_ = std::make_unique<TMetafileCanvas>(q_.Picture().Metafile());
    TCanvas& canvas = *q_.metaCanvas_;
    canvas.Brush().SetColor(q_.backColor_);
    canvas.Brush().SetStyle(bsSolid);
    canvas.FillRect(0, 0, q_.Width(), q_.Height());
}

bool TMetafilePainter::Build(int k) {
    if (!q_.driver_->Encoder().BuildSymbol()) {
        if (k > 1 && !q_.symbolDebug_) q_.CloseMetafileCanvas();
        return false;
    }
    if (q_.symbolDebug_) {
        q_.symbolDisped_ = true;
        return true;
    }
    if (k == 1) OpenMetafile();
    if (!q_.metaCanvas_) return false;  // only symbol 1 opens the recording
    TCanvas& canvas = *q_.metaCanvas_;
    PaintModules(canvas);
    canvas.Font().Assign(q_.ComFont());
    PaintComments(canvas);
    if (k == q_.Count()) {
        q_.CloseMetafileCanvas();
        TMetafile& metafile = q_.Picture().Metafile();
        metafile.SetSize(metafile.Width() + 1, metafile.Height() + 1);
    }
    q_.symbolDisped_ = true;
    return true;
}

}  // namespace mosaiko
