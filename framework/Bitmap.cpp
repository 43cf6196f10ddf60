#include "Bitmap.h"

#include "BlackWhiteLine.h"

#include <algorithm>
#include <cstring>
#include <type_traits>
#include <unordered_map>


namespace mosaiko {

int BitsPerPixelOf(TPixelFormat format) {
    switch (format) {
        case pf1bit: return 1;
        case pf4bit: return 4;
        case pf8bit: return 8;
        case pf16bit: return 16;
        case pf24bit: return 24;
        case pf32bit: return 32;
    }
    return 32;
}

namespace {

const TColor kVga16[16] = {
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0,
    0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
};

bool IsIndexed(TPixelFormat f) { return f == pf1bit || f == pf4bit || f == pf8bit; }

int ColorDistance(TColor a, TColor b) {
    const int dr = RedOf(a) - RedOf(b);
    const int dg = GreenOf(a) - GreenOf(b);
    const int db = BlueOf(a) - BlueOf(b);
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

uint8_t Expand5(uint32_t v) { return static_cast<uint8_t>((v << 3) | (v >> 2)); }

// The stored pf32bit value of a colour: blue, green, red, 0xFF as bytes.
uint32_t Value32Of(TColor color) {
    return 0xFF000000u | (static_cast<uint32_t>(RedOf(color)) << 16) | (static_cast<uint32_t>(GreenOf(color)) << 8) |
           BlueOf(color);
}

}  // namespace

std::vector<TColor> DefaultPalette(TPixelFormat format) {
    switch (format) {
        case pf1bit: return {clBlack, clWhite};
        case pf4bit: return std::vector<TColor>(std::begin(kVga16), std::end(kVga16));
        case pf8bit: {
            std::vector<TColor> p(std::begin(kVga16), std::end(kVga16));
            for (int r = 0; r < 6; ++r)
                for (int g = 0; g < 6; ++g)
                    for (int b = 0; b < 6; ++b)
                        p.push_back(RGBColor(static_cast<uint8_t>(r * 51), static_cast<uint8_t>(g * 51),
                                             static_cast<uint8_t>(b * 51)));
            for (int i = 1; i <= 24; ++i) {
                const auto v = static_cast<uint8_t>(i * 255 / 25);
                p.push_back(RGBColor(v, v, v));
            }
            return p;
        }
        default: return {};
    }
}

TBitmap::TBitmap(int width, int height, TPixelFormat format) : format_(format), palette_(DefaultPalette(format)) {
    AllocateWhite(width, height);
}

void TBitmap::Allocate(int width, int height, uint8_t fill) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    stride_ = ((width_ * BitsPerPixel() + 31) / 32) * 4;
    bits_.assign(static_cast<size_t>(stride_) * height_, fill);
}

void TBitmap::AllocateWhite(int width, int height) {
    // White is all one bytes in pf32bit, whose rows have no padding: one
    // pass over the storage instead of clearing it and filling it again.
    if (format_ == pf32bit) {
        Allocate(width, height, 0xFF);
        return;
    }
    Allocate(width, height);
    FillRect(0, 0, width_, height_, clWhite);
}

void TBitmap::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_) return;
    TBitmap old(std::move(*this));
    format_ = old.format_;
    palette_ = old.palette_;
    AllocateWhite(width, height);
    const int w = std::min(width_, old.width_);
    const int h = std::min(height_, old.height_);
    if (BitsPerPixel() >= 8) {
        const size_t bytes = static_cast<size_t>(w) * (BitsPerPixel() / 8);
        for (int y = 0; y < h; ++y) std::memcpy(ScanLine(y), old.ScanLine(y), bytes);
    } else {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) SetPixelValue(x, y, old.PixelValue(x, y));
    }
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
    if (format == format_) return;
    std::vector<TColor> colors(static_cast<size_t>(width_) * height_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) colors[static_cast<size_t>(y) * width_ + x] = Pixel(x, y);
    format_ = format;
    palette_ = DefaultPalette(format);
    Allocate(width_, height_);
    std::unordered_map<TColor, uint32_t> cache;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            const TColor c = colors[static_cast<size_t>(y) * width_ + x];
            auto it = cache.find(c);
            if (it == cache.end()) it = cache.emplace(c, ValueOfColor(c)).first;
            SetPixelValue(x, y, it->second);
        }
    Changed();
}

void TBitmap::SetPalette(std::vector<TColor> palette) {
    if (!IsIndexed(format_)) return;
    const size_t limit = size_t{1} << BitsPerPixel();
    if (palette.size() > limit) palette.resize(limit);
    for (TColor& c : palette) c &= 0xFFFFFF;
    palette_ = std::move(palette);
    Changed();
}

uint32_t TBitmap::PixelValue(int x, int y) const {
    const uint8_t* row = ScanLine(y);
    switch (format_) {
        case pf1bit: return (row[x >> 3] >> (7 - (x & 7))) & 1u;
        case pf4bit: return (x & 1) ? (row[x >> 1] & 0x0Fu) : (row[x >> 1] >> 4);
        case pf8bit: return row[x];
        case pf16bit: return row[2 * x] | (static_cast<uint32_t>(row[2 * x + 1]) << 8);
        case pf24bit:
            return row[3 * x] | (static_cast<uint32_t>(row[3 * x + 1]) << 8) |
                   (static_cast<uint32_t>(row[3 * x + 2]) << 16);
        case pf32bit: {
            uint32_t v;
            std::memcpy(&v, row + 4 * x, 4);  // little-endian machines only
            return v;
        }
    }
    return 0;
}

void TBitmap::SetPixelValue(int x, int y, uint32_t value) {
    uint8_t* row = ScanLine(y);
    switch (format_) {
        case pf1bit: {
            const uint8_t mask = static_cast<uint8_t>(0x80u >> (x & 7));
            row[x >> 3] = static_cast<uint8_t>((value & 1u) ? (row[x >> 3] | mask) : (row[x >> 3] & ~mask));
            break;
        }
        case pf4bit: {
            uint8_t& b = row[x >> 1];
            b = (x & 1) ? static_cast<uint8_t>((b & 0xF0) | (value & 0x0F))
                        : static_cast<uint8_t>((b & 0x0F) | ((value & 0x0F) << 4));
            break;
        }
        case pf8bit: row[x] = static_cast<uint8_t>(value); break;
        case pf16bit:
            row[2 * x] = static_cast<uint8_t>(value);
            row[2 * x + 1] = static_cast<uint8_t>(value >> 8);
            break;
        case pf24bit:
            row[3 * x] = static_cast<uint8_t>(value);
            row[3 * x + 1] = static_cast<uint8_t>(value >> 8);
            row[3 * x + 2] = static_cast<uint8_t>(value >> 16);
            break;
        case pf32bit: std::memcpy(row + 4 * x, &value, 4); break;
    }
}

uint32_t TBitmap::ValueOfColor(TColor color) const {
    const uint32_t r = RedOf(color), g = GreenOf(color), b = BlueOf(color);
    switch (format_) {
        case pf1bit:
        case pf4bit:
        case pf8bit: {
            uint32_t best = 0;
            int bestDistance = -1;
            for (size_t i = 0; i < palette_.size(); ++i) {
                const int d = ColorDistance(color, palette_[i]);
                if (bestDistance < 0 || d < bestDistance) {
                    bestDistance = d;
                    best = static_cast<uint32_t>(i);
                    if (d == 0) break;
                }
            }
            return best;
        }
        case pf16bit: return ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
        case pf24bit: return (r << 16) | (g << 8) | b;
        case pf32bit: return Value32Of(color);
    }
    return 0;
}

TColor TBitmap::ColorOfValue(uint32_t value) const {
    switch (format_) {
        case pf1bit:
        case pf4bit:
        case pf8bit: return value < palette_.size() ? palette_[value] : clBlack;
        case pf16bit: return RGBColor(Expand5((value >> 10) & 31), Expand5((value >> 5) & 31), Expand5(value & 31));
        case pf24bit:
        case pf32bit:
            return RGBColor(static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8),
                            static_cast<uint8_t>(value));
    }
    return clBlack;
}

TColor TBitmap::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return clWhite;
    return ColorOfValue(PixelValue(x, y));
}

void TBitmap::SetPixel(int x, int y, TColor color) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    SetPixelValue(x, y, ValueOfColor(color));
}

namespace {

// Cuts r to a width x height bitmap; false when nothing is left.
inline bool Clip(TRect& r, int width, int height) {
    r.left = std::max(r.left, 0);
    r.top = std::max(r.top, 0);
    r.right = std::min(r.right, width);
    r.bottom = std::min(r.bottom, height);
    return r.left < r.right && r.top < r.bottom;
}

// Fills [left, right) of one pf32bit row with value. A QR module row is
// mostly runs of one to three pixels, of random lengths: those take three
// stores that cover them whatever the length, so no branch mispredicts on
// it; up to eight pixels take two overlapping copies of four pixels, longer
// runs copy the part already filled over the rest, doubling it each step.
inline void FillRow32(uint8_t* row, int left, int right, uint32_t value) {
    uint8_t* p = row + static_cast<size_t>(left) * 4;
    const size_t count = static_cast<size_t>(right - left);
    if (count < 4) {
        std::memcpy(p, &value, 4);
        std::memcpy(p + (count >> 1) * 4, &value, 4);
        std::memcpy(p + (count - 1) * 4, &value, 4);
        return;
    }
    uint8_t four[16];
    for (size_t i = 0; i < 16; i += 4) std::memcpy(four + i, &value, 4);
    const size_t bytes = count * 4;
    std::memcpy(p, four, 16);
    if (count <= 8) {
        std::memcpy(p + bytes - 16, four, 16);
        return;
    }
    std::memcpy(p + 16, four, 16);
    for (size_t done = 32; done < bytes; done *= 2) std::memcpy(p + done, p, std::min(done, bytes - done));
}

}  // namespace


// A clipped, non-empty rectangle of a pf32bit bitmap: the first row is
// filled, the others are copies of it.
inline void TBitmap::Fill32(int left, int top, int right, int bottom, uint32_t value) {
    FillRow32(ScanLine(top), left, right, value);
    const size_t bytes = static_cast<size_t>(right - left) * 4;
    const uint8_t* first = ScanLine(top) + static_cast<size_t>(left) * 4;
    for (int y = top + 1; y < bottom; ++y) std::memcpy(ScanLine(y) + static_cast<size_t>(left) * 4, first, bytes);
}

void TBitmap::FillRect(int left, int top, int right, int bottom, TColor color) {
    TRect r{left, top, right, bottom};
    if (!Clip(r, width_, height_)) return;
    left = r.left;
    top = r.top;
    right = r.right;
    bottom = r.bottom;
    if (format_ == pf32bit) {
        Fill32(left, top, right, bottom, Value32Of(color));
        return;
    }
    const uint32_t value = ValueOfColor(color);
    const int bpp = BitsPerPixel();
    if (bpp < 8) {
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) SetPixelValue(x, y, value);
        return;
    }
    const int bytes = bpp / 8;
    uint8_t pixel[4];
    for (int i = 0; i < 4; ++i) pixel[i] = static_cast<uint8_t>(value >> (8 * i));
    // Fixed-size copies per depth, so each pixel is a plain store.
    auto fill = [&](auto size) {
        for (int y = top; y < bottom; ++y) {
            uint8_t* p = ScanLine(y) + static_cast<size_t>(left) * size;
            for (int x = left; x < right; ++x, p += size) std::memcpy(p, pixel, size);
        }
    };
    switch (bytes) {
        case 3: fill(std::integral_constant<size_t, 3>()); break;
        case 2: fill(std::integral_constant<size_t, 2>()); break;
        default: fill(std::integral_constant<size_t, 1>()); break;
    }
}

void TBitmap::FillRects(const TRect* rects, int count, TColor color) {
    if (format_ != pf32bit) {
        for (int i = 0; i < count; ++i) FillRect(rects[i].left, rects[i].top, rects[i].right, rects[i].bottom, color);
        return;
    }
    const uint32_t value = Value32Of(color);
    for (int i = 0; i < count; ++i) {
        TRect r = rects[i];
        if (Clip(r, width_, height_)) Fill32(r.left, r.top, r.right, r.bottom, value);
    }
}

QImage TBitmap::ToMonoQImage() const {
    if (format_ != pf32bit || Empty()) return QImage();
    QImage mono(width_, height_, QImage::Format_Mono);
    if (mono.isNull()) return mono;
    mono.setColorTable({kOpaqueBlack, kOpaqueWhite});
    for (int y = 0; y < height_; ++y) {
        const auto* in = reinterpret_cast<const uint32_t*>(ScanLine(y));
        // The top byte of a pf32bit pixel is not alpha: ignore it.
        if (!PackBlackWhiteLine(in, width_, 0xff000000u, mono.scanLine(y))) return QImage();
    }
    return mono;
}

QImage TBitmap::ToQImage() const {
    QImage image(width_, height_, QImage::Format_RGB32);
    if (image.isNull()) return image;
    for (int y = 0; y < height_; ++y) {
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        if (format_ == pf32bit) {
            std::memcpy(out, ScanLine(y), static_cast<size_t>(width_) * 4);
            for (int x = 0; x < width_; ++x) out[x] |= 0xFF000000u;
        } else if (format_ == pf24bit) {
            for (int x = 0; x < width_; ++x) out[x] = PixelValue(x, y) | 0xFF000000u;
        } else {
            for (int x = 0; x < width_; ++x) out[x] = ColorToRgb(ColorOfValue(PixelValue(x, y)));
        }
    }
    return image;
}

TBitmap TBitmap::FromQImage(const QImage& image) {
    TBitmap result;
    if (image.isNull()) return result;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    result.Allocate(rgb.width(), rgb.height());
    for (int y = 0; y < result.height_; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < result.width_; ++x) result.SetPixelValue(x, y, in[x] | 0xFF000000u);
    }
    return result;
}

TBitmap TBitmap::Rotated(int angle) const {
    if (angle != 90 && angle != 180 && angle != 270) return *this;
    const int W = width_, H = height_;
    TBitmap dst;
    dst.format_ = format_;
    dst.palette_ = palette_;
    if (angle == 180)
        dst.Allocate(W, H);
    else
        dst.Allocate(H, W);
    const int bpp = BitsPerPixel();
    for (int yd = 0; yd < dst.height_; ++yd) {
        uint8_t* drow = dst.ScanLine(yd);
        for (int xd = 0; xd < dst.width_; ++xd) {
            int sx, sy;
            switch (angle) {
                case 90: sx = yd; sy = H - 1 - xd; break;
                case 180: sx = W - 1 - xd; sy = H - 1 - yd; break;
                default: sx = W - 1 - yd; sy = xd; break;
            }
            if (bpp >= 8) {
                const int bytes = bpp / 8;
                std::memcpy(drow + static_cast<size_t>(xd) * bytes, ScanLine(sy) + static_cast<size_t>(sx) * bytes,
                            static_cast<size_t>(bytes));
            } else {
                dst.SetPixelValue(xd, yd, PixelValue(sx, sy));
            }
        }
    }
    return dst;
}

void TBitmap::Assign(const TBitmap& source) {
    if (&source != this) *this = source;
    Changed();
}

bool TBitmap::SamePixels(const TBitmap& other) const {
    if (width_ != other.width_ || height_ != other.height_ || format_ != other.format_ ||
        palette_ != other.palette_)
        return false;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if (PixelValue(x, y) != other.PixelValue(x, y)) return false;
    return true;
}

}  // namespace mosaiko
