#include "Utf8Input.h"

#include <cstdio>
#include <vector>

#include "ShiftJisText.h"

namespace mosaiko {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr unsigned char kCtrlZ = 26;

// 0x80, 0xA0 and 0xFD-0xFF stand for no character of CP932.
bool IsCp932Single(unsigned char c) { return c < 0x80 || (c >= 0xA1 && c <= 0xDF); }

std::string CodePoint(std::string_view sequence) {
    auto u = static_cast<unsigned char>(sequence[0]);
    std::uint32_t value = sequence.size() == 1 ? u : u & (0x7F >> sequence.size());
    for (std::size_t i = 1; i < sequence.size(); ++i) value = (value << 6) | (static_cast<unsigned char>(sequence[i]) & 0x3F);
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(value));
    return text;
}

}  // namespace

void EncodingSniffer::Feed(std::string_view chunk) {
    for (const char ch : chunk) {
        if (Decided()) return;
        const auto c = static_cast<unsigned char>(ch);
        if (seen_ < kBom.size()) {
            if (static_cast<char>(c) == kBom[seen_]) {
                ++seen_;
                bom_ = seen_ == kBom.size();
            } else {
                seen_ = kBom.size();  // no mark: stop looking for one
            }
        }
        if (c == kCtrlZ) {
            stopped_ = true;  // the import reads nothing after it either
            return;
        }
        if (c >= 0x80) nonAscii_ = true;
        FeedUtf8(c);
        FeedCp932(c);
    }
}

void EncodingSniffer::FeedUtf8(unsigned char c) {
    if (utf8Need_ > 0) {
        if (c < utf8Low_ || c > utf8High_) {
            utf8Valid_ = false;
            return;
        }
        --utf8Need_;
        utf8Low_ = 0x80;
        utf8High_ = 0xBF;
        return;
    }
    const Utf8Lead lead = ClassifyUtf8Lead(c);
    if (lead.need < 0) {
        utf8Valid_ = false;
        return;
    }
    utf8Need_ = lead.need;
    utf8Low_ = lead.low;
    utf8High_ = lead.high;
}

void EncodingSniffer::FeedCp932(unsigned char c) {
    if (!cp932Valid_) return;
    if (cp932Trail_) {
        cp932Trail_ = false;
        cp932Valid_ = IsTrailByte(c);
    } else if (IsLeadByte(c)) {
        cp932Trail_ = true;
    } else {
        cp932Valid_ = IsCp932Single(c);
    }
}

TextEncoding EncodingSniffer::Result() const {
    if (bom_) return TextEncoding::Utf8;
    const bool utf8 = utf8Valid_ && utf8Need_ == 0;
    const bool cp932 = cp932Valid_ && !cp932Trail_;
    return utf8 && nonAscii_ && !cp932 ? TextEncoding::Utf8 : TextEncoding::ShiftJis;
}

std::optional<TextEncoding> SniffEncoding(const LineReader::ReadFn& read, std::size_t chunkSize) {
    std::vector<char> chunk(std::max<std::size_t>(chunkSize, 1));
    EncodingSniffer sniffer;
    while (!sniffer.Decided()) {
        const std::ptrdiff_t n = read(chunk.data(), chunk.size());
        if (n < 0 || static_cast<std::size_t>(n) > chunk.size()) return std::nullopt;
        if (n == 0) break;
        sniffer.Feed(std::string_view(chunk.data(), static_cast<std::size_t>(n)));
    }
    return sniffer.Result();
}

std::optional<std::string_view> Utf8ToShiftJis::Convert(std::string_view utf8, std::string& problem) {
    if (first_ && utf8.substr(0, kBom.size()) == kBom) utf8.remove_prefix(kBom.size());
    first_ = false;
    const std::size_t stop = encoder_.Convert(utf8, out_);
    if (stop != std::string_view::npos) {
        const std::string_view rest = utf8.substr(stop);
        const std::size_t length = Utf8SequenceLength(rest);
        if (length == 0) {
            problem = "UTF-8 として正しくないバイト列があります";
        } else {
            const std::string_view character = rest.substr(0, length);
            problem = "文字「" + std::string(character) + "」(" + CodePoint(character) + ") は Shift-JIS で表せません";
        }
        return std::nullopt;
    }
    return std::string_view(out_);
}

}  // namespace mosaiko
