#include "QrPbm.h"

namespace mosaiko::cli {

std::string PbmText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text.append(line).push_back('\n');
    return text;
}

std::string PbmImages(const std::vector<std::string>& lines) {
    // The text: "P1", the mode line, the size line, then per symbol two empty
    // lines and its pixel rows (never empty).
    if (lines.size() < 3) return PbmText(lines);
    const std::string header = lines[0] + "\n" + lines[2] + "\n";
    std::string images = lines[0] + "\n# " + lines[1] + "\n" + lines[2] + "\n";
    bool first = true;
    for (std::size_t i = 3; i < lines.size(); ++i) {
        if (lines[i].empty() && i + 1 < lines.size() && lines[i + 1].empty()) {
            if (!first) images += header;
            first = false;
        }
        images.append(lines[i]).push_back('\n');
    }
    return images;
}

}  // namespace mosaiko::cli
