// Conversion between CP932 (Shift-JIS with the Windows extensions) and UTF-8,
// through the C library's iconv. Text stays CP932 bytes inside the program;
// these sit at its edges: showing and drawing text, taking typed text and
// reading UTF-8 files.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace mosaiko {

// Each byte that is not valid CP932 becomes U+FFFD; nothing is dropped silently.
std::string Cp932ToUtf8(std::string_view cp932);

// Each character CP932 cannot represent becomes "?", and so does each byte
// that does not start a UTF-8 character.
std::string Utf8ToCp932(std::string_view utf8);

// UTF-8 to CP932 for input that must not lose a character. It keeps its own
// iconv handle, so each caller converts line after line without opening one.
class Cp932StrictEncoder {
public:
    // Throws std::runtime_error when iconv has no conversion to CP932.
    Cp932StrictEncoder();
    ~Cp932StrictEncoder();
    Cp932StrictEncoder(const Cp932StrictEncoder&) = delete;
    Cp932StrictEncoder& operator=(const Cp932StrictEncoder&) = delete;

    // Replaces `out` with the CP932 bytes of `utf8` and returns npos; or stops
    // at the first character CP932 cannot represent, or the first byte that is
    // not UTF-8, and returns its offset in `utf8`.
    std::size_t Convert(std::string_view utf8, std::string& out);

private:
    void* cd_;  // iconv_t, kept out of the header
};

// UTF-16 to UTF-8 for input read in pieces of any size: a code unit or a
// surrogate pair cut between two pieces is finished by the next. A byte-order
// mark becomes U+FEFF, which the UTF-8 reading drops as it does EF BB BF.
class Utf16Decoder {
public:
    // Throws std::runtime_error when iconv has no conversion from UTF-16.
    explicit Utf16Decoder(bool bigEndian);
    ~Utf16Decoder();
    Utf16Decoder(const Utf16Decoder&) = delete;
    Utf16Decoder& operator=(const Utf16Decoder&) = delete;

    // Appends the UTF-8 of `utf16` to `out`; a unit that is not UTF-16 (a lone
    // surrogate) becomes U+FFFD, which has no CP932 form and so is reported.
    void Feed(std::string_view utf16, std::string& out);
    // The input ended: an unfinished unit left over becomes U+FFFD.
    void Finish(std::string& out);

private:
    void* cd_;
    std::string pending_;  // bytes of a unit not yet complete
};

}  // namespace mosaiko
