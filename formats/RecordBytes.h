// Helpers shared by the EMF and WMF writers: little-endian byte output and
// the GDI object table that both formats index objects by.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace mosaiko {

// Appends little-endian values to a byte string; values can be patched later
// (record sizes, header totals).
class TByteWriter {
public:
    void U8(uint8_t v) { bytes_.push_back(static_cast<char>(v)); }
    void U16(uint16_t v) {
        U8(static_cast<uint8_t>(v));
        U8(static_cast<uint8_t>(v >> 8));
    }
    void U32(uint32_t v) {
        U16(static_cast<uint16_t>(v));
        U16(static_cast<uint16_t>(v >> 16));
    }
    void I16(int v) { U16(static_cast<uint16_t>(static_cast<int16_t>(std::clamp(v, -32768, 32767)))); }
    void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
    void F32(float v) {
        uint32_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        U32(bits);
    }
    void Bytes(std::string_view data) { bytes_.append(data); }
    void Zeros(size_t count) { bytes_.append(count, '\0'); }
    // Zero bytes up to the next multiple of unit.
    void Pad(size_t unit) { Zeros((unit - bytes_.size() % unit) % unit); }

    void PatchU16(size_t at, uint16_t v) {
        bytes_[at] = static_cast<char>(v);
        bytes_[at + 1] = static_cast<char>(v >> 8);
    }
    void PatchU32(size_t at, uint32_t v) {
        PatchU16(at, static_cast<uint16_t>(v));
        PatchU16(at + 2, static_cast<uint16_t>(v >> 16));
    }

    size_t Size() const { return bytes_.size(); }
    const std::string& Data() const { return bytes_; }
    std::string Take() { return std::move(bytes_); }
    void Clear() { bytes_.clear(); }

private:
    std::string bytes_;
};

// Takes the bytes of a file written as it is made, a chunk at a time; false
// when they could not be written.
using TChunkWrite = std::function<bool(std::string_view chunk)>;

// Chunks of about this size, so that a file of any length is held a chunk at a time.
inline constexpr size_t kWriteChunk = 64 * 1024;

// Little-endian reads from a byte string; out-of-range reads give 0.
inline uint32_t ReadU16(std::string_view b, size_t at) {
    if (at + 2 > b.size()) return 0;
    return static_cast<uint8_t>(b[at]) | static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8;
}
inline uint32_t ReadU32(std::string_view b, size_t at) {
    if (at + 4 > b.size()) return 0;
    return ReadU16(b, at) | ReadU16(b, at + 2) << 16;
}
inline int32_t ReadI32(std::string_view b, size_t at) { return static_cast<int32_t>(ReadU32(b, at)); }
inline int16_t ReadI16(std::string_view b, size_t at) { return static_cast<int16_t>(ReadU16(b, at)); }

// The player's object table: a created object takes the lowest free index,
// a deleted one frees it. EMF starts at 1 (index 0 stands for the metafile
// itself), WMF at 0. Size() is the table size a header must announce.
class TObjectTable {
public:
    explicit TObjectTable(uint32_t first) : first_(first) {}

    uint32_t Create() {
        uint32_t index = first_;
        while (index - first_ < used_.size() && used_[index - first_]) ++index;
        if (index - first_ == used_.size()) used_.push_back(false);
        used_[index - first_] = true;
        size_ = std::max(size_, index + 1);
        return index;
    }
    void Delete(uint32_t index) {
        if (index >= first_ && index - first_ < used_.size()) used_[index - first_] = false;
    }
    uint32_t Size() const { return size_; }

private:
    uint32_t first_;
    uint32_t size_ = 0;
    std::vector<bool> used_;
};

}  // namespace mosaiko
