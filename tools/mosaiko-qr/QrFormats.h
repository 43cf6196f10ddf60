// The output formats of mosaiko-qr, in one table: the --format check, its
// message and the help text all come from it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace mosaiko::cli {

enum class QrFormat { Pbm, PbmText, Png, Emf, Wmf, Svg };

struct QrFormatName {
    QrFormat format;
    const char* name;
    const char* about;  // for --help; pictures have none
};

// The PBM forms first, written without Qt; the rest are pictures, painted by
// mosaiko-qr-picture.
inline constexpr QrFormatName kQrFormats[] = {
    {QrFormat::Pbm, "pbm", "PBM images, one per symbol; the default"},
    {QrFormat::PbmText, "pbm-text", "the control's PBM text"},
    {QrFormat::Png, "png", nullptr},
    {QrFormat::Emf, "emf", nullptr},
    {QrFormat::Wmf, "wmf", nullptr},
    {QrFormat::Svg, "svg", nullptr}};

inline bool IsPicture(QrFormat format) { return format != QrFormat::Pbm && format != QrFormat::PbmText; }

std::optional<QrFormat> FindFormat(std::string_view name);

// "option --format: 'x' is not one of pbm, pbm-text, png, emf, wmf, svg"
std::string UnknownFormatMessage(const std::string& name);

// The picture formats' names, the last one after `lastSeparator`:
// "png, emf, wmf, svg" or "png, emf, wmf or svg".
std::string PictureFormatNames(const char* lastSeparator);

// The formats that are not pictures, each with what it writes, between
// `separator`s: "pbm (PBM images, ...)" SEPARATOR "pbm-text (...)".
std::string PbmFormatNames(const std::string& separator);

}  // namespace mosaiko::cli
