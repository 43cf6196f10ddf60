// Bitmap with Windows DIB-like storage, kept by the framework itself for every
// depth (QImage has no 4-bit format).
//
// Rows are stored top-down: ScanLine(0) is the top row. Each row is padded to a
// multiple of 4 bytes. Packing within a row:
//   pf1bit  one bit per pixel, the most significant bit is the leftmost pixel;
//           the bit is an index into the palette
//   pf4bit  two pixels per byte, the high nibble is the even column; palette index
//   pf8bit  one byte per pixel, palette index
//   pf16bit RGB555 little-endian: bits 14-10 red, 9-5 green, 4-0 blue
//   pf24bit bytes blue, green, red
//   pf32bit bytes blue, green, red, 0xFF (the fourth byte is not a colour)
// The palette (pf1bit, pf4bit, pf8bit) holds at most 2^bits colours; the other
// formats have none.
#pragma once

#include <QImage>
#include <QRect>
#include <cstdint>
#include <vector>

#include "CellGrid.h"
#include "ChangeNotifier.h"
#include "Color.h"
#include "Rect.h"

namespace mosaiko {

enum TPixelFormat : uint8_t { pf1bit, pf4bit, pf8bit, pf16bit, pf24bit, pf32bit };

int BitsPerPixelOf(TPixelFormat format);
// The palette a bitmap gets when it is switched to an indexed format:
// pf1bit black, white; pf4bit the 16 VGA colours (black first, white last);
// pf8bit the 16 VGA colours, a 6x6x6 colour cube and 24 greys. Empty otherwise.
std::vector<TColor> DefaultPalette(TPixelFormat format);

class TBitmap : public TChangeNotifier {
public:
    TBitmap() = default;  // empty (0 x 0), pf32bit
    TBitmap(int width, int height, TPixelFormat format = pf32bit);  // all white

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ <= 0 || height_ <= 0; }
    // Keeps the pixels of the overlap; new pixels are white (the palette entry
    // nearest to white in an indexed format). Negative sizes count as 0.
    void SetSize(int width, int height);
    void SetWidth(int width) { SetSize(width, height_); }
    void SetHeight(int height) { SetSize(width_, height); }

    TPixelFormat PixelFormat() const { return format_; }
    // Converts the pixels (indexed formats map to the nearest palette entry).
    void SetPixelFormat(TPixelFormat format);
    int BitsPerPixel() const { return BitsPerPixelOf(format_); }
    int BytesPerLine() const { return stride_; }

    const std::vector<TColor>& Palette() const { return palette_; }
    // Indexed formats only (ignored otherwise); cut to 2^bits entries. Pixels
    // keep their indices.
    void SetPalette(std::vector<TColor> palette);

    // Raw row access; y must be in 0..Height()-1. Writing through it does not
    // notify: call Changed() afterwards when the picture must repaint.
    uint8_t* ScanLine(int y) { return bits_.data() + static_cast<size_t>(y) * stride_; }
    const uint8_t* ScanLine(int y) const { return bits_.data() + static_cast<size_t>(y) * stride_; }

    // Raw stored value of one pixel: palette index (1/4/8), the RGB555 word (16),
    // or the bytes read as a little-endian number (24: 0xRRGGBB, 32: 0xXXRRGGBB).
    uint32_t PixelValue(int x, int y) const;
    void SetPixelValue(int x, int y, uint32_t value);
    // The stored value that represents a colour in this bitmap's format.
    uint32_t ValueOfColor(TColor color) const;
    TColor ColorOfValue(uint32_t value) const;

    // Colour of a pixel; out-of-range reads give white, out-of-range writes are ignored.
    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);
    // Fills [left, right) x [top, bottom), clipped to the bitmap, with the
    // stored value of color; exact pixels, no smoothing. Does not notify.
    void FillRect(int left, int top, int right, int bottom, TColor color);
    // FillRect for each rectangle, in order. Does not notify.
    void FillRects(const TRect* rects, int count, TColor color);
    // Fills the dark cells of grid with color, clipped to the bitmap: the
    // same pixels as FillRects with the rectangles of their runs. Light
    // cells keep their pixels. Does not notify.
    void FillCells(const TCellGrid& grid, TColor color);

    // A copy in QImage::Format_RGB32, for display, clipboard and decoding.
    QImage ToQImage() const;
    // A QImage::Format_Mono copy (black at index 0, white at 1) when every
    // pixel is pure black or white, as a QR picture is; null otherwise.
    QImage ToMonoQImage() const;
    // A pf32bit bitmap with the pixels of image (alpha ignored).
    static TBitmap FromQImage(const QImage& image);

    // The bitmap turned clockwise by 90, 180 or 270 degrees (any other angle: an
    // unchanged copy). Same pixel format and palette; W x H for 180, H x W for
    // 90 and 270. Destination pixel (x', y') is the source pixel at
    //   90: (y', H-1-x'),  180: (W-1-x', H-1-y'),  270: (W-1-y', x').
    TBitmap Rotated(int angle) const;

    // Copies size, format, palette and pixels of source, then notifies.
    void Assign(const TBitmap& source);
    // Same size, format, palette and pixel values (row padding is not compared).
    bool SamePixels(const TBitmap& other) const;

private:
    void Allocate(int width, int height, uint8_t fill = 0);
    void AllocateWhite(int width, int height);
    void Fill32(int left, int top, int right, int bottom, uint32_t value);

    int width_ = 0;
    int height_ = 0;
    TPixelFormat format_ = pf32bit;
    int stride_ = 0;
    std::vector<uint8_t> bits_;
    std::vector<TColor> palette_;
};

}  // namespace mosaiko
