// A picture holds nothing, a bitmap or a metafile. Changes to the held graphic
// (drawing through a canvas, resizing, assigning) and changes of the graphic
// itself are reported through the on-change callback, which the image control
// uses to resize (AutoSize) and repaint.
//
// References returned by Bitmap() and Metafile() stay valid until the picture
// is given another graphic (Clear, Assign..., or Bitmap()/Metafile() of the
// other kind).
#pragma once

#include <functional>
#include <variant>

#include "Bitmap.h"
#include "Metafile.h"

namespace mosaiko {

enum class TGraphicKind { None, Bitmap, Metafile };

class TPicture {
public:
    TPicture() = default;
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;

    TGraphicKind Kind() const { return static_cast<TGraphicKind>(graphic_.index()); }
    bool HasGraphic() const { return Kind() != TGraphicKind::None; }

    // The held bitmap. A picture holding nothing or a metafile first gets a new
    // empty bitmap (0 x 0, pf32bit), as an image component does.
    TBitmap& Bitmap();
    // The held metafile. A picture holding nothing or a bitmap first gets a new
    // empty metafile.
    TMetafile& Metafile();
    // The held graphic of that kind, or nullptr; never changes the picture.
    const TBitmap* AsBitmap() const { return std::get_if<TBitmap>(&graphic_); }
    const TMetafile* AsMetafile() const { return std::get_if<TMetafile>(&graphic_); }
    TBitmap* AsBitmap() { return std::get_if<TBitmap>(&graphic_); }
    TMetafile* AsMetafile() { return std::get_if<TMetafile>(&graphic_); }

    // Holds nothing afterwards.
    void Clear();
    // A copy of the other picture's graphic (or nothing).
    void Assign(const TPicture& source);
    void AssignBitmap(TBitmap bitmap);
    void AssignMetafile(TMetafile metafile);

    // Size of the held graphic; 0 x 0 when the picture holds nothing.
    int Width() const;
    int Height() const;

    void SetOnChange(std::function<void()> handler) { onChange_ = std::move(handler); }
    void Changed() const {
        if (onChange_) onChange_();
    }

private:
    void HookGraphic();

    std::variant<std::monostate, TBitmap, TMetafile> graphic_;
    std::function<void()> onChange_;
};

}  // namespace mosaiko
