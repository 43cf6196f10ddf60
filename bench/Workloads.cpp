#include "Workloads.h"

#include <cstdint>

namespace mosaiko::bench {

namespace {

// A small LCG: the same sequence on every machine and compiler.
class TextSource {
public:
    uint32_t Next() {
        state_ = state_ * 1664525u + 1013904223u;
        return state_;
    }

private:
    uint32_t state_ = 20240601u;
};

}  // namespace

std::string ByteText(size_t length) {
    // 32 characters, none of them in the alphanumeric set.
    static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz,;!?_'";
    static_assert(sizeof(kAlphabet) - 1 == 32);
    TextSource source;
    std::string text(length, ' ');
    for (char& c : text) c = kAlphabet[source.Next() >> 27];
    return text;
}

std::string DigitText(size_t length) {
    TextSource source;
    std::string text(length, '0');
    for (char& c : text) c = static_cast<char>('0' + (source.Next() >> 16) % 10);
    return text;
}

const std::vector<Workload>& Workloads() {
    // Byte and digit lengths are the full capacity of the version and level.
    static const std::vector<Workload> workloads = {
        {"1-L", 1, 0, Content::Mixed, "HELLO 1234"},
        {"20-L", 20, 0, Content::Bytes, ByteText(858)},
        {"40-L", 40, 0, Content::Bytes, ByteText(2953)},
        {"40-H", 40, 3, Content::Bytes, ByteText(1273)},
        {"40-L-numeric", 40, 0, Content::Digits, DigitText(7089)},
    };
    return workloads;
}

}  // namespace mosaiko::bench
