// The output formats of mosaiko-qr, in one table: the --format check, its
// message and the help text all come from it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace mosaiko::cli {

enum class QrFormat { Pbm, Png, Emf, Wmf, Svg };

struct QrFormatName {
    QrFormat format;
    const char* name;
};

// PBM text first; the rest are pictures, painted by mosaiko-qr-picture.
inline constexpr QrFormatName kQrFormats[] = {
    {QrFormat::Pbm, "pbm"}, {QrFormat::Png, "png"}, {QrFormat::Emf, "emf"}, {QrFormat::Wmf, "wmf"}, {QrFormat::Svg, "svg"}};

inline bool IsPicture(QrFormat format) { return format != QrFormat::Pbm; }

std::optional<QrFormat> FindFormat(std::string_view name);

// "option --format: 'x' is not one of pbm, png, emf, wmf, svg"
std::string UnknownFormatMessage(const std::string& name);

// The picture formats' names, the last one after `lastSeparator`:
// "png, emf, wmf, svg" or "png, emf, wmf or svg".
std::string PictureFormatNames(const char* lastSeparator);

}  // namespace mosaiko::cli
