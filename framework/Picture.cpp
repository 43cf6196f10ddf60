#include "Picture.h"

namespace mosaiko {

void TPicture::HookGraphic() {
    if (TBitmap* b = AsBitmap()) b->SetOnChange([this] { Changed(); });
    if (TMetafile* m = AsMetafile()) m->SetOnChange([this] { Changed(); });
}

TBitmap& TPicture::Bitmap() {
    if (Kind() != TGraphicKind::Bitmap) {
        graphic_.emplace<TBitmap>();
        HookGraphic();
        Changed();
    }
    return std::get<TBitmap>(graphic_);
}

TMetafile& TPicture::Metafile() {
    if (Kind() != TGraphicKind::Metafile) {
        graphic_.emplace<TMetafile>();
        HookGraphic();
        Changed();
    }
    return std::get<TMetafile>(graphic_);
}

void TPicture::Clear() {
    graphic_.emplace<std::monostate>();
    Changed();
}

void TPicture::Assign(const TPicture& source) {
    if (&source == this) return;
    graphic_ = source.graphic_;
    HookGraphic();
    Changed();
}

void TPicture::AssignBitmap(TBitmap bitmap) {
    graphic_.emplace<TBitmap>(std::move(bitmap));
    HookGraphic();
    Changed();
}

void TPicture::AssignMetafile(TMetafile metafile) {
    graphic_.emplace<TMetafile>(std::move(metafile));
    HookGraphic();
    Changed();
}

int TPicture::Width() const {
    if (const TBitmap* b = AsBitmap()) return b->Width();
    if (const TMetafile* m = AsMetafile()) return m->Width();
    return 0;
}

int TPicture::Height() const {
    if (const TBitmap* b = AsBitmap()) return b->Height();
    if (const TMetafile* m = AsMetafile()) return m->Height();
    return 0;
}

}  // namespace mosaiko
