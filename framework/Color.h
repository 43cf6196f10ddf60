// Colours as the control and the application see them: 32-bit values with red
// in the low byte, green in the second and blue in the third (black 0, white
// 0xFFFFFF). The top byte is ignored by every conversion.
#pragma once

#include <QColor>
#include <cstdint>

namespace mosaiko {

using TColor = uint32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clGray = 0x808080;

constexpr TColor RGBColor(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<TColor>(r) | (static_cast<TColor>(g) << 8) | (static_cast<TColor>(b) << 16);
}
constexpr uint8_t RedOf(TColor c) { return static_cast<uint8_t>(c & 0xFF); }
constexpr uint8_t GreenOf(TColor c) { return static_cast<uint8_t>((c >> 8) & 0xFF); }
constexpr uint8_t BlueOf(TColor c) { return static_cast<uint8_t>((c >> 16) & 0xFF); }

// Opaque QColor / QRgb of a colour, and back (alpha dropped).
inline QColor ColorToQColor(TColor c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }
inline QRgb ColorToRgb(TColor c) { return qRgb(RedOf(c), GreenOf(c), BlueOf(c)); }
inline TColor RgbToColor(QRgb rgb) {
    return RGBColor(static_cast<uint8_t>(qRed(rgb)), static_cast<uint8_t>(qGreen(rgb)),
                    static_cast<uint8_t>(qBlue(rgb)));
}
inline TColor QColorToColor(const QColor& c) { return RgbToColor(c.rgb()); }

// Brush styles: a solid brush fills, a clear brush leaves the background alone.
enum TBrushStyle : uint8_t { bsSolid = 0, bsClear = 1 };

}  // namespace mosaiko
