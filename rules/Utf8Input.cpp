#include "Utf8Input.h"

#include <cstdio>
#include <cstring>
#include <memory>
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

const char* EncodingName(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8: return "UTF-8";
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be: return "UTF-16";
    default: return "Shift-JIS";
    }
}

bool EncodingSniffer::Decided() const {
    // After FF or FE alone the second byte may still make a UTF-16 mark.
    const bool markOpen = fed_ == 1 && (first_ == 0xFF || first_ == 0xFE);
    return bom_ || utf16_ || (!markOpen && (!utf8Valid_ || stopped_));
}

// True when `c` completes a UTF-16 byte-order mark.
bool EncodingSniffer::FeedUtf16Mark(unsigned char c) {
    if (fed_ >= 2) return false;
    if (fed_++ == 0) {
        first_ = c;
        return false;
    }
    if (first_ == 0xFF && c == 0xFE) utf16_ = TextEncoding::Utf16Le;
    if (first_ == 0xFE && c == 0xFF) utf16_ = TextEncoding::Utf16Be;
    return utf16_.has_value();
}

void EncodingSniffer::Feed(std::string_view chunk) {
    for (std::size_t i = 0; i < chunk.size(); ++i) {
        if (Decided()) return;
        // Plain ASCII between characters changes nothing: pass it quickly.
        if (fed_ >= 2 && seen_ >= kBom.size() && utf8Need_ == 0 && !cp932Trail_) {
            while (i < chunk.size() && static_cast<unsigned char>(chunk[i]) < 0x80 && chunk[i] != kCtrlZ) ++i;
            if (i == chunk.size()) return;
        }
        const auto c = static_cast<unsigned char>(chunk[i]);
        if (FeedUtf16Mark(c)) return;
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
    if (utf16_) return *utf16_;
    if (bom_) return TextEncoding::Utf8;
    const bool utf8 = utf8Valid_ && utf8Need_ == 0;
    const bool cp932 = cp932Valid_ && !cp932Trail_;
    return utf8 && nonAscii_ && !cp932 ? TextEncoding::Utf8 : TextEncoding::ShiftJis;
}

std::optional<TextEncoding> SniffEncoding(const LineReader::ReadFn& read, std::size_t chunkSize,
                                          std::uint64_t limit) {
    std::vector<char> chunk(std::max<std::size_t>(chunkSize, 1));
    EncodingSniffer sniffer;
    for (std::uint64_t total = 0; !sniffer.Decided() && total < limit;) {
        const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), limit - total));
        const std::ptrdiff_t n = read(chunk.data(), want);
        if (n < 0 || static_cast<std::size_t>(n) > want) return std::nullopt;
        if (n == 0) break;
        total += static_cast<std::uint64_t>(n);
        sniffer.Feed(std::string_view(chunk.data(), static_cast<std::size_t>(n)));
    }
    return sniffer.Result();
}

LineReader::ReadFn ReadAsUtf8(LineReader::ReadFn read, TextEncoding encoding) {
    if (encoding != TextEncoding::Utf16Le && encoding != TextEncoding::Utf16Be) return read;
    struct State {
        explicit State(bool bigEndian) : decoder(bigEndian) {}
        Utf16Decoder decoder;
        std::vector<char> chunk = std::vector<char>(LineReader::kDefaultChunk);
        std::string utf8;
        std::size_t handedOut = 0;
        bool end = false;
    };
    auto state = std::make_shared<State>(encoding == TextEncoding::Utf16Be);
    return [read = std::move(read), state](char* buffer, std::size_t size) -> std::ptrdiff_t {
        State& s = *state;
        while (s.handedOut == s.utf8.size() && !s.end) {
            s.utf8.clear();
            s.handedOut = 0;
            const std::ptrdiff_t n = read(s.chunk.data(), s.chunk.size());
            if (n < 0) return -1;
            if (n == 0) s.end = true, s.decoder.Finish(s.utf8);
            else s.decoder.Feed(std::string_view(s.chunk.data(), static_cast<std::size_t>(n)), s.utf8);
        }
        const std::size_t n = std::min(size, s.utf8.size() - s.handedOut);
        std::memcpy(buffer, s.utf8.data() + s.handedOut, n);
        s.handedOut += n;
        return static_cast<std::ptrdiff_t>(n);
    };
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
