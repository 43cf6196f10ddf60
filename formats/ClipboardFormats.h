// The clipboard formats of pictures, as MIME data for QClipboard:
//   enhanced metafile  EMF bytes under "image/emf" and "image/x-emf"
//   Windows metafile   clipboard WMF bits (no placeable header) under
//                      "image/wmf" and "image/x-wmf", with the picture record
//                      (mapping mode, extents in 0.01 mm) under
//                      "application/x-metafilepict" as three little-endian
//                      32-bit integers, since the record's handle exists only
//                      on Windows
//   both metafiles     also SVG under "image/svg+xml" and the picture drawn as
//                      an image, for programs that read neither metafile format
//                      (Windows makes a bitmap of a metafile on the clipboard too)
//   bitmap             QMimeData::setImageData
#pragma once

#include <QImage>
#include <QString>
#include <memory>
#include <optional>
#include <string>

#include "Metafile.h"
#include "WmfWriter.h"

class QMimeData;

namespace mosaiko {

class TBitmap;
class TPicture;

inline const QString kMimeEmf = QStringLiteral("image/emf");
inline const QString kMimeXEmf = QStringLiteral("image/x-emf");
inline const QString kMimeWmf = QStringLiteral("image/wmf");
inline const QString kMimeXWmf = QStringLiteral("image/x-wmf");
inline const QString kMimeSvg = QStringLiteral("image/svg+xml");
inline const QString kMimeMetafilePict = QStringLiteral("application/x-metafilepict");

std::unique_ptr<QMimeData> EnhancedMetafileMimeData(const TMetafile& metafile);
// wmfBits: clipboard-form WMF (WriteWmf(metafile, TWmfForm::Clipboard)).
std::unique_ptr<QMimeData> WindowsMetafileMimeData(const std::string& wmfBits, const TMetafilePict& picture,
                                                   const TMetafile& metafile);
std::unique_ptr<QMimeData> BitmapMimeData(const TBitmap& bitmap);
// The picture in the format of the graphic it holds: a bitmap as an image, a
// metafile as an enhanced metafile; nothing for an empty picture.
std::unique_ptr<QMimeData> PictureMimeData(const TPicture& picture);

// Puts the data on the clipboard (QClipboard::Clipboard); does nothing for null.
void SetClipboardData(std::unique_ptr<QMimeData> data);

// The picture record of clipboard data, when it has one.
std::optional<TMetafilePict> MetafilePictOf(const QMimeData& data);

}  // namespace mosaiko
