#include "Metafile.h"

#include <cmath>

#include "ShiftJis.h"
#include "TextRender.h"

namespace mosaiko {

TMetaFont TMetaFont::FromFont(const TFont& font) {
    TMetaFont m;
    m.name = font.Name();
    m.height = font.Height();
    m.bold = font.Bold();
    m.italic = font.Italic();
    m.underline = font.Underline();
    m.strikeOut = font.StrikeOut();
    return m;
}

TFont TMetaFont::ToFont(TColor color) const {
    TFont font;
    font.SetName(name);
    font.SetHeight(height);
    font.SetStyle(static_cast<TFontStyles>((bold ? fsBold : 0) | (italic ? fsItalic : 0) |
                                           (underline ? fsUnderline : 0) | (strikeOut ? fsStrikeOut : 0)));
    font.SetColor(color);
    return font;
}

void TMetafile::SetWidth(int width) { SetSize(width, height_); }
void TMetafile::SetHeight(int height) { SetSize(width_, height); }

void TMetafile::SetSize(int width, int height) {
    width = width > 0 ? width : 0;
    height = height > 0 ? height : 0;
    if (width == width_ && height == height_) return;
    width_ = width;
    height_ = height;
    Changed();
}

namespace {
// Pixels of the 96-dpi reference device in 0.01 mm, rounded.
int PixelsToHundredthsMm(int pixels) {
    constexpr int kDpi = TMetafile::kReferenceDpi;
    return static_cast<int>((static_cast<long long>(pixels) * 2540 + kDpi / 2) / kDpi);
}
}  // namespace

int TMetafile::MMWidth() const { return PixelsToHundredthsMm(width_); }
int TMetafile::MMHeight() const { return PixelsToHundredthsMm(height_); }

void TMetafile::SetRecords(std::vector<TMetafileRecord> records) {
    records_ = std::move(records);
    recorded_ = true;
    Changed();
}

void TMetafile::Clear() {
    records_.clear();
    recorded_ = false;
    width_ = height_ = 0;
    Changed();
}

void TMetafileBounds::Add(const TMetafileRecord& record) {
    if (const auto* brush = std::get_if<TMetaSelectBrush>(&record)) {
        brushClear_ = brush->style == bsClear;
    } else if (const auto* fill = std::get_if<TMetaFillRect>(&record)) {
        if (!brushClear_ && fill->right > fill->left && fill->bottom > fill->top)
            bounds_ |= QRect(QPoint(fill->left, fill->top), QPoint(fill->right - 1, fill->bottom - 1));
    } else if (const auto* text = std::get_if<TMetaTextOut>(&record)) {
        if (text->width > 0 && text->height > 0) bounds_ |= QRect(text->x, text->y, text->width, text->height);
    }
}

QRect TMetafile::Bounds() const {
    TMetafileBounds bounds;
    for (const TMetafileRecord& record : records_) bounds.Add(record);
    return bounds.Rect();
}

void TMetafile::Play(QPainter& painter, const QRect& target) const {
    if (records_.empty() || target.isEmpty()) return;
    painter.save();
    painter.translate(target.topLeft());
    if (width_ > 0 && height_ > 0)
        painter.scale(static_cast<double>(target.width()) / width_, static_cast<double>(target.height()) / height_);
    // GDI's defaults for a new device context.
    TMetaSelectBrush brush;
    TMetaFont font;
    font.name = TFont::kDefaultName;
    TColor textColor = clBlack;
    TColor bkColor = clWhite;
    bool opaque = true;
    for (const TMetafileRecord& record : records_) {
        if (const auto* b = std::get_if<TMetaSelectBrush>(&record)) {
            brush = *b;
        } else if (const auto* fill = std::get_if<TMetaFillRect>(&record)) {
            if (brush.style == bsClear || fill->right <= fill->left || fill->bottom <= fill->top) continue;
            painter.fillRect(QRect(fill->left, fill->top, fill->right - fill->left, fill->bottom - fill->top),
                             ColorToQColor(brush.color));
        } else if (const auto* f = std::get_if<TMetaSelectFont>(&record)) {
            font = f->font;
        } else if (const auto* tc = std::get_if<TMetaSetTextColor>(&record)) {
            textColor = tc->color;
        } else if (const auto* bk = std::get_if<TMetaSetBkColor>(&record)) {
            bkColor = bk->color;
        } else if (const auto* mode = std::get_if<TMetaSetBkMode>(&record)) {
            opaque = mode->opaque;
        } else if (const auto* text = std::get_if<TMetaTextOut>(&record)) {
            if (opaque && text->width > 0 && text->height > 0)
                painter.fillRect(QRect(text->x, text->y, text->width, text->height), ColorToQColor(bkColor));
            DrawTextAt(painter, font.ToFont().ToQFont(), textColor, text->x, text->y, DecodeShiftJis(text->text));
        }
    }
    painter.restore();
}

QImage TMetafile::ToQImage(double scale, TColor background) const {
    if (scale <= 0) scale = 1.0;
    const int w = static_cast<int>(std::ceil(width_ * scale));
    const int h = static_cast<int>(std::ceil(height_ * scale));
    QImage image(w, h, QImage::Format_RGB32);
    if (image.isNull()) return image;
    image.fill(ColorToQColor(background));
    QPainter painter(&image);
    Play(painter, QRect(0, 0, w, h));
    return image;
}

void TMetafile::Assign(const TMetafile& source) {
    if (&source != this) *this = source;
    Changed();
}

}  // namespace mosaiko
