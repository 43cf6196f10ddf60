#include "ClipboardFormats.h"

#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "Bitmap.h"
#include "EmfWriter.h"
#include "Picture.h"
#include "RecordBytes.h"
#include "SvgWriter.h"

namespace mosaiko {
namespace {

QByteArray Bytes(const std::string& s) { return QByteArray(s.data(), static_cast<qsizetype>(s.size())); }

QByteArray PictRecord(const TMetafilePict& picture) {
    TByteWriter out;
    out.I32(picture.mappingMode);
    out.I32(picture.xExt);
    out.I32(picture.yExt);
    return Bytes(out.Data());
}

void AddRenderings(QMimeData& data, const TMetafile& metafile) {
    data.setData(kMimeSvg, Bytes(WriteSvg(metafile)));
    data.setImageData(metafile.ToQImage());
}

}  // namespace

std::unique_ptr<QMimeData> EnhancedMetafileMimeData(const TMetafile& metafile) {
    auto data = std::make_unique<QMimeData>();
    const QByteArray emf = Bytes(WriteEmf(metafile));
    data->setData(kMimeEmf, emf);
    data->setData(kMimeXEmf, emf);
    AddRenderings(*data, metafile);
    return data;
}

std::unique_ptr<QMimeData> WindowsMetafileMimeData(const std::string& wmfBits, const TMetafilePict& picture,
                                                   const TMetafile& metafile) {
    auto data = std::make_unique<QMimeData>();
    const QByteArray wmf = Bytes(wmfBits);
    data->setData(kMimeWmf, wmf);
    data->setData(kMimeXWmf, wmf);
    data->setData(kMimeMetafilePict, PictRecord(picture));
    AddRenderings(*data, metafile);
    return data;
}

std::unique_ptr<QMimeData> BitmapMimeData(const TBitmap& bitmap) {
    auto data = std::make_unique<QMimeData>();
    data->setImageData(bitmap.ToQImage());
    return data;
}

std::unique_ptr<QMimeData> PictureMimeData(const TPicture& picture) {
    if (const TBitmap* bitmap = picture.AsBitmap()) return BitmapMimeData(*bitmap);
    if (const TMetafile* metafile = picture.AsMetafile()) return EnhancedMetafileMimeData(*metafile);
    return nullptr;
}

void SetClipboardData(std::unique_ptr<QMimeData> data) {
    if (data) QGuiApplication::clipboard()->setMimeData(data.release());  // the clipboard takes ownership
}

std::optional<TMetafilePict> MetafilePictOf(const QMimeData& data) {
    const QByteArray record = data.data(kMimeMetafilePict);
    if (record.size() != 12) return std::nullopt;
    const std::string_view bytes(record.constData(), 12);
    return TMetafilePict{ReadI32(bytes, 0), ReadI32(bytes, 4), ReadI32(bytes, 8)};
}

}  // namespace mosaiko
