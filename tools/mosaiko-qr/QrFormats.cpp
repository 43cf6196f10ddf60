#include "QrFormats.h"

#include <vector>

namespace mosaiko::cli {
namespace {

std::string JoinNames(bool picturesOnly, const char* lastSeparator) {
    std::vector<const char*> names;
    for (const QrFormatName& f : kQrFormats)
        if (!picturesOnly || IsPicture(f.format)) names.push_back(f.name);
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) text += i + 1 == names.size() ? lastSeparator : ", ";
        text += names[i];
    }
    return text;
}

}  // namespace

std::optional<QrFormat> FindFormat(std::string_view name) {
    for (const QrFormatName& f : kQrFormats)
        if (name == f.name) return f.format;
    return std::nullopt;
}

std::string UnknownFormatMessage(const std::string& name) {
    return "option --format: '" + name + "' is not one of " + JoinNames(false, ", ");
}

std::string PictureFormatNames(const char* lastSeparator) { return JoinNames(true, lastSeparator); }

std::string PbmFormatNames(const std::string& separator) {
    std::string text;
    for (const QrFormatName& f : kQrFormats) {
        if (IsPicture(f.format)) continue;
        if (!text.empty()) text += separator;
        text += std::string(f.name) + " (" + f.about + ")";
    }
    return text;
}

}  // namespace mosaiko::cli
