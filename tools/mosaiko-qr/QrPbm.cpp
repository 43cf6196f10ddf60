#include "QrPbm.h"

#include <string_view>

namespace mosaiko::cli {
namespace {

// Gathers lines into chunks, so that the text of a thousand symbols is
// never held twice, as lines and as one string.
class LineChunks {
public:
    explicit LineChunks(const ChunkWrite& write) : write_(write) {}
    bool Line(std::string_view head, std::string_view rest = {}) {
        text_.append(head).append(rest).push_back('\n');
        return text_.size() < kChunk || Flush();
    }
    bool Flush() {
        const bool written = text_.empty() || write_(text_.data(), text_.size());
        text_.clear();
        return written;
    }

private:
    static constexpr std::size_t kChunk = std::size_t{1} << 16;
    const ChunkWrite& write_;
    std::string text_;
};

std::string Joined(bool (*form)(const std::vector<std::string>&, const ChunkWrite&),
                   const std::vector<std::string>& lines) {
    std::string text;
    form(lines, [&text](const char* data, std::size_t size) {
        text.append(data, size);
        return true;
    });
    return text;
}

}  // namespace

bool WritePbmText(const std::vector<std::string>& lines, const ChunkWrite& write) {
    LineChunks out(write);
    for (const std::string& line : lines)
        if (!out.Line(line)) return false;
    return out.Flush();
}

bool WritePbmImages(const std::vector<std::string>& lines, const ChunkWrite& write) {
    // The text: "P1", the mode line, the size line, then per symbol two empty
    // lines and its pixel rows (never empty).
    if (lines.size() < 3) return WritePbmText(lines, write);
    LineChunks out(write);
    if (!out.Line(lines[0]) || !out.Line("# ", lines[1]) || !out.Line(lines[2])) return false;
    bool first = true;
    for (std::size_t i = 3; i < lines.size(); ++i) {
        if (lines[i].empty() && i + 1 < lines.size() && lines[i + 1].empty()) {
            if (!first && !(out.Line(lines[0]) && out.Line(lines[2]))) return false;
            first = false;
        }
        if (!out.Line(lines[i])) return false;
    }
    return out.Flush();
}

std::string PbmText(const std::vector<std::string>& lines) { return Joined(WritePbmText, lines); }

std::string PbmImages(const std::vector<std::string>& lines) { return Joined(WritePbmImages, lines); }

}  // namespace mosaiko::cli
