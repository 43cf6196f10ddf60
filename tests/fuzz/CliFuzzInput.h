// What the command-line fuzz targets share: a fuzz input taken as a
// program's arguments and the bytes it reads, and those bytes handed over
// as a file or as standard input, as the programs read them.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace mosaiko::fuzz {

inline void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "cli fuzz: %s\n", what);
    std::abort();
}

// The bytes before the first NUL are the arguments, each ended by a line
// feed (the last one may lack it); the bytes after it are the input. At most
// kMaxInput bytes of input are kept, so that a pipe holds them all.
struct CliInput {
    std::vector<std::string> args;  // args[0] is the program's name
    std::string bytes;

    std::vector<char*> Argv() {
        std::vector<char*> argv;
        for (std::string& arg : args) argv.push_back(arg.data());
        argv.push_back(nullptr);
        return argv;
    }
};

inline constexpr std::size_t kMaxInput = 32 * 1024;

inline CliInput SplitCliInput(const uint8_t* data, std::size_t size, const char* program) {
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = all.find('\0');
    std::string_view block = all.substr(0, nul);
    CliInput input{{program}, {}};
    while (!block.empty()) {
        const std::size_t end = block.find('\n');
        input.args.emplace_back(block.substr(0, end));
        block = end == std::string_view::npos ? std::string_view() : block.substr(end + 1);
    }
    if (nul != std::string_view::npos) input.bytes = all.substr(nul + 1, kMaxInput);
    return input;
}

// A file that holds the current input's bytes, named by /proc/self/fd: it is
// removed as soon as it is made, so no run leaves it behind.
inline std::string InputFile(const std::string& bytes) {
    static const int fd = [] {
        const char* folder = std::getenv("TMPDIR");
        std::string name = std::string(folder && *folder ? folder : "/tmp") + "/mosaiko-fuzz-XXXXXX";
        const int made = ::mkstemp(name.data());
        Check(made >= 0, "no temporary file");
        ::unlink(name.c_str());
        return made;
    }();
    Check(::ftruncate(fd, 0) == 0, "cannot empty the temporary file");
    Check(::pwrite(fd, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size()),
          "cannot write the temporary file");
    return "/proc/self/fd/" + std::to_string(fd);
}

// Runs `read` with standard input a pipe that holds `bytes` and then ends;
// the process's own standard input is put back afterwards.
template <class Read>
auto WithStandardInput(const std::string& bytes, Read read) {
    int ends[2];
    Check(::pipe(ends) == 0, "no pipe");
    Check(bytes.size() <= kMaxInput && ::write(ends[1], bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()),
          "cannot fill the pipe");
    ::close(ends[1]);
    const int saved = ::dup(STDIN_FILENO);
    ::dup2(ends[0], STDIN_FILENO);
    ::close(ends[0]);
    auto result = read();
    ::dup2(saved, STDIN_FILENO);
    ::close(saved);
    return result;
}

}  // namespace mosaiko::fuzz
