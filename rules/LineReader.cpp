#include "LineReader.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

namespace mosaiko {
namespace {

constexpr char kCr = 13;
constexpr char kLf = 10;
constexpr char kCtrlZ = 26;

}  // namespace

void LineSplitter::Feed(std::string_view chunk) {
    if (finished_ || chunk.empty()) return;
    // Drop the lines already handed out, so the buffer holds one partial line
    // plus the new chunk; each byte is moved at most once per line.
    if (pos_ > 0) {
        buf_.erase(0, pos_);
        scan_ -= pos_;
        pos_ = 0;
    }
    buf_.append(chunk);
}

void LineSplitter::Finish() { finished_ = true; }

// Drops the bytes of the current line past kMaxKeptLine that are in the buffer.
void LineSplitter::DropRestOfLine() {
    // memchr per line end keeps a line of gigabytes at the speed of reading.
    const char* from = buf_.data() + scan_;
    std::size_t end = buf_.size();
    for (const char stop : {kCr, kLf, kCtrlZ}) {
        if (const void* hit = std::memchr(from, stop, end - scan_)) end = static_cast<const char*>(hit) - buf_.data();
    }
    if (end == scan_) return;  // the line may end right here
    buf_.erase(scan_, end - scan_);
    dropped_ += end - scan_;
    cut_ = true;
    tooLong_ = dropped_ > kMaxLineBytes - kMaxKeptLine;
}

bool LineSplitter::Next(std::string_view& line) {
    lastCut_ = false;
    if (tooLong_) return false;
    while (scan_ < buf_.size()) {
        if (scan_ - pos_ >= kMaxKeptLine) {
            DropRestOfLine();
            if (tooLong_) return false;
            if (scan_ == buf_.size()) break;
        }
        const char c = buf_[scan_];
        if (skipLf_) {
            skipLf_ = false;
            if (c == kLf) {
                pos_ = ++scan_;
                continue;
            }
        }
        if (c == kCtrlZ) {
            // The rest of the file is not read; the bytes before still count.
            buf_.resize(scan_);
            finished_ = true;
            break;
        }
        if (c == kCr || c == kLf) {
            line = std::string_view(buf_).substr(pos_, scan_ - pos_);
            lastCut_ = std::exchange(cut_, false);
            dropped_ = 0;
            skipLf_ = (c == kCr);
            pos_ = ++scan_;
            return true;
        }
        ++scan_;
    }
    if (finished_ && pos_ < buf_.size()) {
        line = std::string_view(buf_).substr(pos_);
        lastCut_ = std::exchange(cut_, false);
        pos_ = scan_ = buf_.size();
        return true;
    }
    return false;
}

LineReader::LineReader(ReadFn read, std::size_t chunkSize)
    : read_(std::move(read)), chunk_(std::max<std::size_t>(chunkSize, 1)) {}

ReadStatus LineReader::Next(std::string_view& line) {
    if (failed_) return ReadStatus::Error;
    while (!splitter_.Next(line)) {
        if (splitter_.TooLong()) return ReadStatus::TooLong;
        if (splitter_.AtEnd()) return ReadStatus::End;
        const std::ptrdiff_t n = read_(chunk_.data(), chunk_.size());
        if (n < 0 || static_cast<std::size_t>(n) > chunk_.size()) {
            failed_ = true;
            return ReadStatus::Error;
        }
        if (n == 0) {
            splitter_.Finish();
        } else {
            splitter_.Feed(std::string_view(chunk_.data(), static_cast<std::size_t>(n)));
        }
    }
    return ReadStatus::Line;
}

LineReader::ReadFn ReadFromMemory(std::string_view bytes) {
    auto rest = std::make_shared<std::string_view>(bytes);
    return [rest](char* buffer, std::size_t size) -> std::ptrdiff_t {
        const std::size_t n = std::min(size, rest->size());
        if (n > 0) std::memcpy(buffer, rest->data(), n);
        rest->remove_prefix(n);
        return static_cast<std::ptrdiff_t>(n);
    };
}

}  // namespace mosaiko
