#include "QrMetafile.h"

#include "EmfWriter.h"
#include "SvgWriter.h"
#include "WmfWriter.h"

namespace mosaiko::cli {

// wmf is recorded as picWMF and svg as picEMF: the recording is the same,
// the kind only names the clipboard format.
std::optional<TPictures> MetafileKind(const std::string& format) {
    if (format == "emf" || format == "svg") return picEMF;
    if (format == "wmf") return picWMF;
    return std::nullopt;
}

std::string MetafileBytes(const TQRCode& q, const std::string& format) {
    const TMetafile* recorded = q.Picture().AsMetafile();
    const TMetafile metafile = recorded != nullptr ? *recorded : TMetafile(q.Width(), q.Height());
    if (format == "wmf") return WriteWmf(metafile);
    if (format == "svg") return WriteSvg(metafile);
    return WriteEmf(metafile);
}

}  // namespace mosaiko::cli
