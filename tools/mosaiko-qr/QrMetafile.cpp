#include "QrMetafile.h"

#include "EmfWriter.h"
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

std::string MetafileBytes(const TQRPictureMaker& q, QrFormat format) {
    const TMetafile* recorded = q.Picture().AsMetafile();
    const TMetafile metafile = recorded != nullptr ? *recorded : TMetafile(q.Width(), q.Height());
    if (format == QrFormat::Wmf) return WriteWmf(metafile);
    if (format == QrFormat::Svg) return WriteSvg(metafile);
    return WriteEmf(metafile);
}

}  // namespace mosaiko::cli
