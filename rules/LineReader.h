// Splits a file streamed in chunks into lines of bytes.
//
// A line ends at CR, CR LF or LF; each ends exactly one line, also when CR and
// LF arrive in different chunks. Byte 26 (Ctrl-Z) ends the file. A line may be
// of any length, but only its first kMaxKeptLine bytes are kept: a group's
// symbol holds at most 9,999 bytes of a line, and the view and the report show
// no more. Memory stays bounded by kMaxKeptLine plus one chunk.
//
// A line that runs on past kMaxLineBytes ends the reading: no text has such a
// line, so the input is an endless stream (/dev/zero) or no text at all, and
// reading on would never end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace mosaiko {

inline constexpr std::size_t kMaxKeptLine = 64 * 1024;
inline constexpr std::uint64_t kMaxLineBytes = std::uint64_t{1} << 32;  // 4 GiB

class LineSplitter {
public:
    // Adds bytes of the file; ignored once Ctrl-Z has been seen.
    void Feed(std::string_view chunk);
    // No more bytes will come: a last line without line end becomes available.
    void Finish();
    // The next complete line; the view stays valid until the next Feed or Next.
    bool Next(std::string_view& line);
    // True once the end of the file has been reached and every line taken.
    bool AtEnd() const { return finished_ && pos_ == buf_.size(); }
    // The line Next gave last was longer than kMaxKeptLine and cut there.
    bool LastLineCut() const { return lastCut_; }
    // The line being read is longer than kMaxLineBytes; Next gives no more lines.
    bool TooLong() const { return tooLong_; }

private:
    void DropRestOfLine();

    std::string buf_;
    std::size_t pos_ = 0;   // start of the line not yet returned
    std::size_t scan_ = 0;  // first byte not yet examined
    bool skipLf_ = false;   // the byte before scan_ was a CR ending a line
    bool finished_ = false;
    bool cut_ = false;  // the line being scanned lost bytes
    bool lastCut_ = false;
    std::uint64_t dropped_ = 0;  // bytes the line being scanned lost
    bool tooLong_ = false;
};

// TooLong: a line ran on past kMaxLineBytes. Error, End and TooLong are final.
enum class ReadStatus { Line, End, Error, TooLong };

// Pulls chunks through a read function and hands out one line at a time.
class LineReader {
public:
    // Fills up to `size` bytes; returns the count, 0 at the end, -1 on a read error.
    using ReadFn = std::function<std::ptrdiff_t(char* buffer, std::size_t size)>;
    static constexpr std::size_t kDefaultChunk = 64 * 1024;

    explicit LineReader(ReadFn read, std::size_t chunkSize = kDefaultChunk);
    // On Line, `line` stays valid until the next call.
    ReadStatus Next(std::string_view& line);
    // The line Next gave last was cut at kMaxKeptLine bytes.
    bool LastLineCut() const { return splitter_.LastLineCut(); }

private:
    ReadFn read_;
    std::vector<char> chunk_;
    LineSplitter splitter_;
    bool failed_ = false;
};

// A read function over bytes already in memory; they must outlive the reader.
LineReader::ReadFn ReadFromMemory(std::string_view bytes);

}  // namespace mosaiko
