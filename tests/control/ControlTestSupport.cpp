#include "ControlTestSupport.h"

namespace mosaiko::test {

CountingQRCode::CountingQRCode() {
    SetOnPaintSymbol([this](TQRCode*, bool) { ++paints; });
}

QImage PictureImage(const TQRCode& control) {
    if (const TBitmap* bitmap = control.Picture().AsBitmap()) return bitmap->ToQImage();
    if (const TMetafile* metafile = control.Picture().AsMetafile()) return metafile->ToQImage();
    return {};
}

QRect CellRect(const TQRCode& control, int k, int left, int top) {
    const int column = (k - 1) % control.Column();
    const int row = (k - 1) / control.Column();
    return QRect(left + column * control.SymbolWidthS(), top + row * control.SymbolHeightS(),
                 control.SymbolWidthS(), control.SymbolHeightS());
}

bool AllPixels(const QImage& image, const QRect& rect, QRgb rgb) {
    const QRect area = rect.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != (rgb & 0xFFFFFF)) return false;
    return true;
}

std::string Piece(const TQRCode& control, int k) {
    const QrDriver& driver = control.Driver();
    const char* data = reinterpret_cast<const char*>(driver.Data());
    return std::string(data + driver.Offset(k - 1), data + driver.Offset(k));
}

std::string SampleText(int length, int seed) {
    static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789 .,:-ABCDEFGHIJ";
    std::string text(static_cast<size_t>(length), ' ');
    unsigned state = 12345u + static_cast<unsigned>(seed) * 7919u;
    for (char& c : text) {
        state = state * 1103515245u + 12345u;
        c = kAlphabet[(state >> 16) % (sizeof(kAlphabet) - 1)];
    }
    return text;
}

}  // namespace mosaiko::test
