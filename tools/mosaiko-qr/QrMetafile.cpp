#include "QrMetafile.h"

#include <memory>

#include "SvgWriter.h"
#include "WmfWriter.h"

namespace mosaiko::cli {

// wmf is recorded as picWMF and svg as picEMF: the recording is the same,
// the kind only names the clipboard format.
std::optional<TPictures> MetafileKind(QrFormat format) {
    switch (format) {
        case QrFormat::Emf:
        case QrFormat::Svg: return picEMF;
        case QrFormat::Wmf: return picWMF;
        case QrFormat::Pbm:
        case QrFormat::PbmText:
        case QrFormat::Png: break;
    }
    return std::nullopt;
}

MetafileOutput::MetafileOutput(TQRPictureMaker& q, QrFormat format) : q_(q), format_(format) {
    if (format_ == QrFormat::Wmf) {  // kept whole: WMF is small enough to stay a recording
        q_.SetSymbolEnabled(true);
        return;
    }
    startSize_ = QSize(q_.Width(), q_.Height());
    // Only the EMF header needs the counts; an SVG's size is the picture's.
    TEmfStream counted(TMetafile(), {}, [](std::string_view) { return true; });
    if (format_ == QrFormat::Emf) q_.SetMetafileSink([&counted](const TMetafileRecord& r) { counted.Add(r); });
    else q_.SetMetafileSink([](const TMetafileRecord&) {});
    q_.SetSymbolEnabled(true);
    q_.SetMetafileSink({});
    counted.Finish();
    emf_ = counted.Totals();
}

TMetafile MetafileOutput::Frame() const {
    const TMetafile* recorded = q_.Picture().AsMetafile();
    return recorded != nullptr ? TMetafile(recorded->Width(), recorded->Height()) : TMetafile(q_.Width(), q_.Height());
}

bool MetafileOutput::Write(const ChunkWrite& write) {
    const TChunkWrite chunks = [&write](std::string_view chunk) { return write(chunk.data(), chunk.size()); };
    if (format_ == QrFormat::Wmf) {
        const TMetafile* recorded = q_.Picture().AsMetafile();
        return chunks(WriteWmf(recorded != nullptr ? *recorded : Frame()));
    }
    const TMetafile frame = Frame();
    std::unique_ptr<TEmfStream> emf;
    std::unique_ptr<TSvgStream> svg;
    if (format_ == QrFormat::Emf) emf = std::make_unique<TEmfStream>(frame, emf_, chunks);
    else svg = std::make_unique<TSvgStream>(frame.Width(), frame.Height(), chunks);
    // The same regeneration again, its records now written as they come. It
    // starts from the size the first one did: the regeneration first gives
    // the picture a bitmap of the control's size, which the first painting
    // left as large as the whole block (4 bytes a pixel, never drawn on).
    q_.SetSymbolEnabled(false);
    q_.SetWidth(startSize_.width());
    q_.SetHeight(startSize_.height());
    q_.SetMetafileSink([&](const TMetafileRecord& r) { emf ? emf->Add(r) : svg->Add(r); });
    q_.SetSymbolEnabled(true);
    q_.SetMetafileSink({});
    return emf ? emf->Finish() : svg->Finish();
}

}  // namespace mosaiko::cli
