// Font object: the attributes a canvas draws text with.
//
// Height is the character (em) height in pixels, the height Qt calls the pixel
// size and GDI writes as a negative lfHeight; Size is the same in points at the
// reference resolution of 96 pixels per inch (Size = Height * 72 / 96, rounded).
//
// A new font has the framework's default attributes:
//   Name "ＭＳ Ｐゴシック" (the Japanese Windows UI font, shown with IPAPGothic
//   through RegisterFontSubstitutes), Height 12 px (9 pt), no style, black.
// A fixed Japanese family rather than the application's default family keeps
// comment text (Shift-JIS, mostly Japanese) the same on every machine.
#pragma once

#include <QFont>
#include <QString>
#include <cstdint>

#include "Color.h"

namespace mosaiko {

enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint8_t;  // a set of TFontStyle bits

inline constexpr int kScreenPixelsPerInch = 96;

class TFont {
public:
    static const QString kDefaultName;  // "ＭＳ Ｐゴシック"
    static constexpr int kDefaultHeight = 12;

    TFont() = default;

    const QString& Name() const { return name_; }
    void SetName(const QString& name) { name_ = name; }
    // Character height in pixels (at least 1). A negative value is taken as its
    // magnitude, so a GDI-style -12 means 12 pixels as well.
    int Height() const { return height_; }
    void SetHeight(int pixels);
    // Size in points at 96 dpi.
    int Size() const;
    void SetSize(int points);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style) { style_ = style & 0x0F; }
    bool Bold() const { return style_ & fsBold; }
    bool Italic() const { return style_ & fsItalic; }
    bool Underline() const { return style_ & fsUnderline; }
    bool StrikeOut() const { return style_ & fsStrikeOut; }
    TColor Color() const { return color_; }
    void SetColor(TColor color) { color_ = color & 0xFFFFFF; }

    // Copies every attribute of source.
    void Assign(const TFont& source) { *this = source; }
    bool operator==(const TFont&) const = default;

    // The QFont with these attributes; its size is set in pixels, so drawing and
    // measuring do not depend on the resolution of the paint device.
    QFont ToQFont() const;

private:
    QString name_ = kDefaultName;
    int height_ = kDefaultHeight;
    TFontStyles style_ = 0;
    TColor color_ = clBlack;
};

// Maps the Windows Japanese families "ＭＳ Ｐゴシック", "ＭＳ Ｐ明朝", "ＭＳ ゴシック",
// "ＭＳ 明朝" (and their ASCII names "MS PGothic", ...) to the IPA fonts
// ("IPAPGothic", "IPAPMincho", "IPAGothic", "IPAMincho") through
// QFont::insertSubstitutions, for each family the system does not have.
// Call once after the QGuiApplication/QApplication exists; calling again is harmless.
void RegisterFontSubstitutes();

}  // namespace mosaiko
