#include "ShiftJis.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace mosaiko {
namespace {

// One conversion through iconv; an invalid input unit is replaced and skipped.
std::string Convert(iconv_t cd, std::string_view in, size_t unitSize, std::string_view replacement) {
    std::string out;
    if (cd == reinterpret_cast<iconv_t>(-1)) return out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    out.reserve(in.size() * 2 + 8);
    std::vector<char> buf(4096);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    while (srcLeft > 0) {
        char* dst = buf.data();
        size_t dstLeft = buf.size();
        size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buf.data(), buf.size() - dstLeft);
        if (r == static_cast<size_t>(-1) && errno != E2BIG) {
            // EILSEQ or EINVAL: skip one unit of input and mark the spot.
            size_t skip = std::min(unitSize, srcLeft);
            src += skip;
            srcLeft -= skip;
            out.append(replacement);
        }
    }
    return out;
}

// A converter opened once per thread and closed when the thread ends.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    iconv_t Handle() const { return cd_; }

private:
    iconv_t cd_;
};

}  // namespace

QString DecodeShiftJis(std::string_view bytes) {
    thread_local const Converter toUtf8("UTF-8", "CP932");
    static constexpr char kReplacement[] = "\xEF\xBF\xBD";
    std::string utf8 = Convert(toUtf8.Handle(), bytes, 1, kReplacement);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string EncodeShiftJis(const QString& text) {
    thread_local const Converter toShiftJis("CP932", "UTF-32LE");
    const std::u32string u32 = text.toStdU32String();
    std::string_view in(reinterpret_cast<const char*>(u32.data()), u32.size() * sizeof(char32_t));
    return Convert(toShiftJis.Handle(), in, sizeof(char32_t), "?");
}

}  // namespace mosaiko
