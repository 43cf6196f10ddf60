// The per-symbol painters that QrDriver::RunSymbols drives during PaintSymbol:
// one draws on the surface's bitmap canvas, the other records a metafile.
#pragma once

#include <string>

#include "QRSymbols.h"

namespace mosaiko {

// Grid placement and comment numbering shared by both painters. The comments
// and the cell origin change per symbol; the comments get their base texts
// back when the painter goes (the control restores its own corner).
class TSymbolPainter : public SymbolVisitor {
public:
    explicit TSymbolPainter(TQRSymbols& control);
    ~TSymbolPainter() override;
    TSymbolPainter(const TSymbolPainter&) = delete;
    TSymbolPainter& operator=(const TSymbolPainter&) = delete;

    void BeforeSymbol(int k) override;

protected:
    // The dark modules in SymbolColor, as one cell grid: a bitmap canvas
    // writes them straight into the pixels, a metafile canvas records one
    // rectangle per horizontal run of dark modules.
    void PaintModules(TCanvas& canvas) const;
    // The comment lines around the current cell, on BackColor.
    void PaintComments(TCanvas& canvas) const;

    TQRSymbols& q_;
    TPictureSurface& surface_;  // the picture painted into, and its size

private:
    int originLeft_;
    int originTop_;
    std::string baseUp_;
    std::string baseDown_;
};

class TBitmapPainter : public TSymbolPainter {
public:
    using TSymbolPainter::TSymbolPainter;
    bool Build(int k) override;
};

class TMetafilePainter : public TSymbolPainter {
public:
    using TSymbolPainter::TSymbolPainter;
    bool Build(int k) override;

private:
    void OpenMetafile();
};

// "k", "k base", "base k" or the base itself, by the numbering rule.
std::string NumberedComment(const std::string& base, int k, TNumbering numbering);

}  // namespace mosaiko
