// Recognises UTF-8 input and turns it into the Shift-JIS (CP932) bytes that
// the rest of the program works on.
//
// A file is UTF-8 when it starts with the byte-order mark EF BB BF, or when it
// is valid UTF-8, holds a byte above 127 and is not valid CP932 (a short Kanji
// text can be both; it stays Shift-JIS). A file starting with FF FE or FE FF
// is UTF-16 (little- or big-endian; Excel's Unicode text export is the former),
// read as UTF-8 after conversion. Every other file is Shift-JIS.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "Cp932.h"
#include "LineReader.h"
#include "Utf8Sequence.h"

namespace mosaiko {

enum class TextEncoding { ShiftJis, Utf8, Utf16Le, Utf16Be };

// The encoding's name for the user, e.g. "UTF-16".
const char* EncodingName(TextEncoding encoding);
enum class EncodingChoice { Auto, ShiftJis, Utf8 };

// Looks at a file's bytes, fed in chunks of any size, up to a Ctrl-Z.
class EncodingSniffer {
public:
    void Feed(std::string_view chunk);
    // No later byte can change the answer.
    bool Decided() const;
    // The answer for the bytes fed so far, taken as the whole file.
    TextEncoding Result() const;

private:
    void FeedUtf8(unsigned char c);
    void FeedCp932(unsigned char c);

    bool FeedUtf16Mark(unsigned char c);

    std::size_t seen_ = 0;  // bytes fed, up to the byte-order mark's length
    bool bom_ = false;
    std::size_t fed_ = 0;      // bytes fed, up to a UTF-16 mark's length
    unsigned char first_ = 0;  // the first byte, for the UTF-16 marks
    std::optional<TextEncoding> utf16_;
    bool stopped_ = false;  // Ctrl-Z seen
    bool nonAscii_ = false;
    bool utf8Valid_ = true;
    int utf8Need_ = 0;                // continuation bytes still expected
    unsigned char utf8Low_ = 0x80;    // range of the next continuation byte
    unsigned char utf8High_ = 0xBF;
    bool cp932Valid_ = true;
    bool cp932Trail_ = false;  // a lead byte waits for its trail byte
};

// A stream is read once, so the bytes the guess reads are kept for the import;
// the guess stops after this many and takes them as the whole file, which
// keeps an endless stream's memory bounded.
inline constexpr std::uint64_t kMaxStreamSniff = 64 * 1024 * 1024;

// Reads the file through `read` until the answer is known or `limit` bytes
// have been read. nullopt: read error.
std::optional<TextEncoding> SniffEncoding(const LineReader::ReadFn& read,
                                          std::size_t chunkSize = LineReader::kDefaultChunk,
                                          std::uint64_t limit = UINT64_MAX);

// `read` itself, or for UTF-16 a read that hands out the file as UTF-8.
LineReader::ReadFn ReadAsUtf8(LineReader::ReadFn read, TextEncoding encoding);

// Converts UTF-8 lines to CP932, one line at a time.
class Utf8ToShiftJis {
public:
    Utf8ToShiftJis() = default;
    Utf8ToShiftJis(const Utf8ToShiftJis&) = delete;
    Utf8ToShiftJis& operator=(const Utf8ToShiftJis&) = delete;

    // The line's CP932 bytes, valid until the next call; the byte-order mark
    // is dropped from the first line. nullopt: `problem` says (in UTF-8)
    // which character has no CP932 form, or that the bytes are not UTF-8.
    std::optional<std::string_view> Convert(std::string_view utf8, std::string& problem);

private:
    Cp932StrictEncoder encoder_;
    bool first_ = true;
    std::string out_;
};

}  // namespace mosaiko
