// Runs a built program the way a user does: arguments, standard input,
// captured standard output, standard error and exit status.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>

namespace mosaiko::test {

struct ToolResult {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string Quote(const std::string& arg) {
    std::string q = "'";
    for (char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// `args` are quoted one by one; `input` is fed on standard input.
inline ToolResult RunTool(const std::string& program, std::initializer_list<std::string> args,
                          const std::string& input = "") {
    static int counter = 0;
    const auto dir = std::filesystem::temp_directory_path() /
                     ("mosaiko-tool-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(dir);
    WriteFile(dir / "in", input);
    std::string command = Quote(program);
    for (const std::string& a : args) {
        command += ' ';
        command += Quote(a);
    }
    for (const auto& [redirect, file] : {std::pair{" <", "in"}, std::pair{" >", "out"}, std::pair{" 2>", "err"}}) {
        command += redirect;
        command += Quote((dir / file).string());
    }
    ToolResult r;
    const int raw = std::system(command.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = ReadFile(dir / "out");
    r.err = ReadFile(dir / "err");
    std::filesystem::remove_all(dir);
    return r;
}

}  // namespace mosaiko::test
