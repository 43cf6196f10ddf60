#include "Cp932.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

#include "Utf8Sequence.h"

namespace mosaiko {
namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);
constexpr char kReplacementCharacter[] = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

// An iconv handle, closed with its owner.
class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv() {
        if (Valid()) iconv_close(cd_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    bool Valid() const { return cd_ != kNoConverter; }
    iconv_t Handle() const { return cd_; }

private:
    iconv_t cd_;
};

// The input unit skipped when it cannot be converted.
std::size_t OneByte(std::string_view) { return 1; }
std::size_t OneCharacter(std::string_view rest) { return std::max<std::size_t>(Utf8SequenceLength(rest), 1); }

// Runs `in` through `cd` into `out`. A unit that cannot be converted is
// written as `replacement` and skipped; without a replacement the run stops
// there. Returns the offset it stopped at, or npos.
template <class UnitLength>
std::size_t Run(iconv_t cd, std::string_view in, std::string& out, UnitLength unitLength, const char* replacement) {
    out.clear();
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    std::size_t done = 0;
    while (srcLeft > 0) {
        // Three output bytes per input byte fit either direction (a CP932 byte
        // is at most three in UTF-8); should one not, E2BIG comes round again.
        out.resize(done + srcLeft * 3 + 4);
        char* dst = out.data() + done;
        std::size_t dstLeft = out.size() - done;
        const std::size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        done = out.size() - dstLeft;
        if (r != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
        // EILSEQ, or EINVAL for a sequence cut off at the end.
        out.resize(done);
        if (replacement == nullptr) return in.size() - srcLeft;
        const std::size_t skip = std::min(unitLength(std::string_view(src, srcLeft)), srcLeft);
        src += skip;
        srcLeft -= skip;
        out.append(replacement);
        done = out.size();
    }
    out.resize(done);
    return std::string_view::npos;
}

}  // namespace

std::string Cp932ToUtf8(std::string_view cp932) {
    thread_local const Iconv toUtf8("UTF-8", "CP932");
    std::string out;
    if (toUtf8.Valid()) Run(toUtf8.Handle(), cp932, out, OneByte, kReplacementCharacter);
    return out;
}

std::string Utf8ToCp932(std::string_view utf8) {
    thread_local const Iconv toCp932("CP932", "UTF-8");
    std::string out;
    if (toCp932.Valid()) Run(toCp932.Handle(), utf8, out, OneCharacter, "?");
    return out;
}

Cp932StrictEncoder::Cp932StrictEncoder() : cd_(iconv_open("CP932", "UTF-8")) {
    if (cd_ == kNoConverter) throw std::runtime_error("iconv: no conversion from UTF-8 to CP932");
}

Cp932StrictEncoder::~Cp932StrictEncoder() { iconv_close(static_cast<iconv_t>(cd_)); }

std::size_t Cp932StrictEncoder::Convert(std::string_view utf8, std::string& out) {
    return Run(static_cast<iconv_t>(cd_), utf8, out, OneCharacter, nullptr);
}

Utf16Decoder::Utf16Decoder(bool bigEndian) : cd_(iconv_open("UTF-8", bigEndian ? "UTF-16BE" : "UTF-16LE")) {
    if (cd_ == kNoConverter) throw std::runtime_error("iconv: no conversion from UTF-16 to UTF-8");
}

Utf16Decoder::~Utf16Decoder() { iconv_close(static_cast<iconv_t>(cd_)); }

void Utf16Decoder::Feed(std::string_view utf16, std::string& out) {
    pending_.append(utf16);
    char* src = pending_.data();
    std::size_t srcLeft = pending_.size();
    while (srcLeft > 0) {
        // Two UTF-16 bytes give at most three UTF-8 bytes, four give four.
        const std::size_t done = out.size();
        out.resize(done + srcLeft * 2 + 4);
        char* dst = out.data() + done;
        std::size_t dstLeft = out.size() - done;
        const std::size_t r = iconv(static_cast<iconv_t>(cd_), &src, &srcLeft, &dst, &dstLeft);
        const int error = errno;
        out.resize(out.size() - dstLeft);
        if (r != static_cast<std::size_t>(-1) || error == E2BIG) continue;
        if (error == EINVAL) break;  // the rest comes with the next piece
        const std::size_t skip = std::min<std::size_t>(2, srcLeft);
        src += skip;
        srcLeft -= skip;
        out.append(kReplacementCharacter);
    }
    pending_.erase(0, pending_.size() - srcLeft);
}

void Utf16Decoder::Finish(std::string& out) {
    if (!pending_.empty()) out.append(kReplacementCharacter);
    pending_.clear();
}

}  // namespace mosaiko
