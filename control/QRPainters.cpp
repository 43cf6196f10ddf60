#include "QRPainters.h"

#include <algorithm>

#include "SymbolPicture.h"

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

TSymbolPainter::TSymbolPainter(TQRSymbols& control)
    : q_(control),
      surface_(control.surface_),
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

void TSymbolPainter::PaintModules(TCanvas& canvas) const {
    const QrEncoder& symbol = q_.driver_->Encoder();
    const int left = q_.symbolLeft_ + q_.spaceLeft_ + q_.QuietZone();
    const int top = q_.symbolTop_ + q_.spaceUp_ + q_.QuietZone();
    const SymbolModules modules(symbol.Matrix(), symbol.ModulesPerSide(), left, top, q_.Pxmag());
    canvas.Brush().SetColor(q_.symbolColor_);
    canvas.Brush().SetStyle(bsSolid);
    canvas.FillCells(modules.Grid());
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
        surface_.SetWidth(q_.SymbolWidthA() + x);
        surface_.SetHeight(q_.SymbolHeightA() + y);
        surface_.Picture().Bitmap().SetSize(surface_.Width(), surface_.Height());
    }
    TCanvas& canvas = surface_.Canvas();
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
    surface_.SetWidth(q_.SymbolWidthA() + q_.symbolLeft_);
    surface_.SetHeight(q_.SymbolHeightA() + q_.symbolTop_);
    surface_.Picture().AssignMetafile(TMetafile(surface_.Width(), surface_.Height()));
    q_.metaCanvas_ = std::make_unique<TMetafileCanvas>(surface_.Picture().Metafile());
    q_.metaCanvas_->SetSink(q_.metafileSink_);
    TCanvas& canvas = *q_.metaCanvas_;
    canvas.Brush().SetColor(q_.backColor_);
    canvas.Brush().SetStyle(bsSolid);
    canvas.FillRect(0, 0, surface_.Width(), surface_.Height());
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
        TMetafile& metafile = surface_.Picture().Metafile();
        metafile.SetSize(metafile.Width() + 1, metafile.Height() + 1);
    }
    q_.symbolDisped_ = true;
    return true;
}

}  // namespace mosaiko
