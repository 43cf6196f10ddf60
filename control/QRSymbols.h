// TQRSymbols: the QR code control without a widget. It holds the control's
// properties and the encoder's driver, and regenerates the picture of a
// TPictureSurface: splits Code over one or more QR Code symbols and paints
// them into the surface's picture (a bitmap, or a recorded metafile), laid out
// in a grid with quiet zones, spaces, comment lines, colours and a turn by
// Angle.
//
// Every setter either ignores an out-of-range value (nothing stored, nothing
// regenerated) or stores the value and regenerates at once through
// PaintSymbol. PaintSymbol does nothing while SymbolEnabled is false, so a
// caller that changes several properties switches it off first and on last.
//
// Text (Code, CommentUp, CommentDown) is kept as Shift-JIS bytes; comments are
// decoded only when they are drawn. Painting needs fonts (a QGuiApplication),
// never a widget: TQRCode puts it on an image control, TQRPictureMaker on a
// plain picture.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Color.h"
#include "Exception.h"
#include "Font.h"
#include "MetafileCanvas.h"
#include "PictureSurface.h"
#include "QrDriver.h"

namespace mosaiko {

enum TNumbering : uint8_t { nbrNone = 0, nbrHead = 1, nbrTail = 2, nbrIfVoid = 3 };
enum TLocation : uint8_t { locLeft = 0, locCenter = 1, locRight = 2 };
enum TPictures : uint8_t { picBMP = 0, picEMF = 1, picWMF = 2 };

class TQRSymbols {
public:
    // Paints into surface, which must outlive this object.
    explicit TQRSymbols(TPictureSurface& surface);
    virtual ~TQRSymbols();
    TQRSymbols(const TQRSymbols&) = delete;
    TQRSymbols& operator=(const TQRSymbols&) = delete;

    // Operations.
    virtual void PaintSymbol();
    virtual void ClearSymbol();
    virtual void Redraw();
    // Turns a bitmap picture clockwise by 90, 180 or 270 degrees.
    void RotatePicture(int angle);

    // Data.
    const std::string& Code() const { return driver_->Code(); }
    void SetCode(const std::string& code);
    int Len() const { return driver_->Len(); }
    bool Binary() const { return driver_->Binary(); }
    bool BinaryOperation() const { return driver_->BinaryOperation(); }
    void SetBinaryOperation(bool value);

    // Several symbols.
    TQRMode Mode() const { return driver_->Encoder().Mode(); }
    void SetMode(TQRMode value);
    int Count() const { return driver_->Encoder().Count(); }
    void SetCount(int value);
    // A row holds at most every symbol of a run.
    static constexpr int kMaxColumn = kMaxPieces;
    static constexpr bool ColumnInRange(int value) { return value >= 1 && value <= kMaxColumn; }
    int Column() const { return column_; }
    void SetColumn(int value);
    int Parity() const { return driver_->Encoder().Parity(); }
    TNumbering Numbering() const { return numbering_; }
    void SetNumbering(TNumbering value);

    // Comment lines above and below each symbol.
    const std::string& CommentUp() const { return commentUp_; }
    void SetCommentUp(const std::string& value);
    TLocation CommentUpLoc() const { return commentUpLoc_; }
    void SetCommentUpLoc(TLocation value);
    const std::string& CommentDown() const { return commentDown_; }
    void SetCommentDown(const std::string& value);
    TLocation CommentDownLoc() const { return commentDownLoc_; }
    void SetCommentDownLoc(TLocation value);

    // Layout, in pixels.
    int QuietZone() const;
    int SymbolWidth() const;
    int SymbolWidthS() const;
    int SymbolWidthA() const;
    int SymbolHeight() const;
    int SymbolHeightS() const;
    int SymbolHeightA() const;
    int SymbolLeft() const { return symbolLeft_; }
    void SetSymbolLeft(int value);
    int SymbolTop() const { return symbolTop_; }
    void SetSymbolTop(int value);
    int SymbolSpaceUp() const { return spaceUp_; }
    void SetSymbolSpaceUp(int value);
    int SymbolSpaceDown() const { return spaceDown_; }
    void SetSymbolSpaceDown(int value);
    int SymbolSpaceLeft() const { return spaceLeft_; }
    void SetSymbolSpaceLeft(int value);
    int SymbolSpaceRight() const { return spaceRight_; }
    void SetSymbolSpaceRight(int value);

    // Symbol settings.
    int Version() const { return driver_->Encoder().Version(); }
    void SetVersion(int value);
    int Emode() const { return driver_->Encoder().Emode(); }
    void SetEmode(int value);
    int EmodeR() const { return driver_->Encoder().EmodeR(); }
    // With Emode -1, the smallest encoding instead of the automatic rule (off by default).
    bool EmodeOptimal() const { return driver_->Encoder().EmodeOptimal(); }
    void SetEmodeOptimal(bool value);
    int Eclevel() const { return driver_->Encoder().Eclevel(); }
    void SetEclevel(int value);
    int Masktype() const { return driver_->Encoder().Masktype(); }
    void SetMasktype(int value);
    int MasktypeR() const { return driver_->Encoder().MasktypeR(); }
    int Capacity() const { return driver_->Encoder().GetCapacity(); }
    int Pxmag() const { return driver_->Pxmag(); }
    void SetPxmag(int value);
    int Angle() const { return angle_; }
    void SetAngle(int value);
    // The symbols as portable-bitmap text, rebuilt on every read.
    const std::vector<std::string>& PBM() { return driver_->GetPBM(); }

    // Appearance.
    bool Match() const { return match_; }
    void SetMatch(bool value);
    TFont& ComFont() { return *comFont_; }
    const TFont& ComFont() const { return *comFont_; }
    void SetComFont(const TFont* value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    TColor SymbolColor() const { return symbolColor_; }
    void SetSymbolColor(TColor value);
    TColor BackColor() const { return backColor_; }
    void SetBackColor(TColor value);
    TPictures SymbolPicture() const { return symbolPicture_; }
    void SetSymbolPicture(TPictures value);
    // A metafile run hands its records to `sink` as they are drawn instead of
    // keeping them in the picture, whose recording stays empty; an empty
    // sink keeps them again.
    void SetMetafileSink(TMetafileSink sink) { metafileSink_ = std::move(sink); }

    // Switches and results.
    bool SymbolEnabled() const { return symbolEnabled_; }
    void SetSymbolEnabled(bool value);
    bool SymbolDebug() const { return symbolDebug_; }
    void SetSymbolDebug(bool value) { symbolDebug_ = value; }
    bool SymbolDisped() const { return symbolDisped_; }
    bool ClearOption() const { return clearOption_; }
    void SetClearOption(bool value);

    // The encoder, for reading the last symbol built.
    const QrDriver& Driver() const { return *driver_; }

protected:
    // Event hooks of a regeneration, for a host that publishes events: around
    // a change of Code, and before and after the painting.
    virtual void DoChangeCode() {}
    virtual void DoPaintSymbol() {}
    virtual void DoPaintedSymbol() {}
    virtual void DoChangedCode() {}

    // Raises Exception("Illegal <item> : <value>") for inconsistent settings.
    void CheckSettings();
    // False, with item "Column", for a column count out of range.
    static bool CheckColumn(int column, SettingsError& error);

private:
    friend class TSymbolPainter;
    friend class TBitmapPainter;
    friend class TMetafilePainter;

    void PrepareBitmap();
    void MoveOriginToUnturned(int left, int top);
    void RunPainter();
    void CloseMetafileCanvas();

    TPictureSurface& surface_;
    std::unique_ptr<QrDriver> driver_;  // large fixed buffers: kept on the heap
    int column_ = 16;
    TNumbering numbering_ = nbrIfVoid;
    std::string commentUp_;
    TLocation commentUpLoc_ = locLeft;
    std::string commentDown_;
    TLocation commentDownLoc_ = locLeft;
    int symbolLeft_ = 0;
    int symbolTop_ = 0;
    int spaceUp_ = 0;
    int spaceDown_ = 0;
    int spaceLeft_ = 0;
    int spaceRight_ = 0;
    int angle_ = 0;
    bool match_ = false;
    std::unique_ptr<TFont> comFont_;
    bool transparent_ = false;
    TColor symbolColor_ = clBlack;
    TColor backColor_ = clWhite;
    TPictures symbolPicture_ = picBMP;
    bool symbolEnabled_ = true;
    bool symbolDebug_ = false;
    bool symbolDisped_ = false;
    bool clearOption_ = false;
    std::unique_ptr<TMetafileCanvas> metaCanvas_;  // open only during a metafile run
    TMetafileSink metafileSink_;
};

// The control's regeneration on a plain picture of its own, for programs
// without widgets: Picture(), Width() and Height() give the result.
class TQRPictureMaker : public TPictureHolder, public TQRSymbols {
public:
    TQRPictureMaker() : TQRSymbols(static_cast<TPictureSurface&>(*this)) {}
};

}  // namespace mosaiko
