#include "QrRun.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "AtomicFile.h"
#include "CliCommon.h"

namespace mosaiko::cli {

namespace {

std::string InputName(const std::string& path) { return path.empty() || path == "-" ? "standard input" : path; }

ReadStatus Unreadable(const std::string& path, int error, std::string& message) {
    message = "cannot read " + InputName(path) + ": " + std::strerror(error);
    return ReadStatus::Unreadable;
}

}  // namespace

namespace {

// What the largest symbol holds: 7089 is its numeric capacity; of bytes that
// are not all digits it holds no more than byte mode's figure.
std::string SymbolLimitText() {
    const int bytes = SymbolParameters[kMaxVersion].Levels[kLevelL].Capacity[kModeByte];
    return std::to_string(kMaxSymbolText) + " digits, or " + std::to_string(bytes) + " bytes in byte mode at 40-L";
}

}  // namespace

std::string TooLongText(const std::string& what) {
    return what + " holds more than " + std::to_string(kMaxInputBytes) + " bytes, the most that 1024 symbols take (" +
           "a symbol holds at most " + SymbolLimitText() + ")";
}

ReadStatus ReadAllBytes(const std::string& path, std::string& bytes, std::string& error) {
    const bool standard = path.empty() || path == "-";
    const int fd = standard ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return Unreadable(path, errno, error);
    struct Closer {
        int fd;
        bool own;
        ~Closer() {
            if (own) ::close(fd);
        }
    } closer{fd, !standard};
    struct stat st {};
    if (::fstat(fd, &st) != 0) return Unreadable(path, errno, error);
    if (S_ISDIR(st.st_mode)) return Unreadable(path, EISDIR, error);
    bytes.clear();
    char chunk[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return Unreadable(path, errno, error);
        if (n == 0) return ReadStatus::Read;
        if (bytes.size() + static_cast<std::size_t>(n) > kMaxInputBytes) {
            error = TooLongText(InputName(path));
            return ReadStatus::TooLong;
        }
        bytes.append(chunk, static_cast<std::size_t>(n));
    }
}

bool WriteAllBytes(const std::string& path, const std::string& bytes, std::string& error) {
    return WriteStreamed(path, [&](const ChunkWrite& write) { return write(bytes.data(), bytes.size()); }, error);
}

bool WriteStreamed(const std::string& path, const std::function<bool(const ChunkWrite&)>& produce, std::string& error) {
    AtomicFile out(path.empty() ? "-" : path);
    const bool written =
        out.Open() && produce([&out](const char* data, std::size_t size) { return out.Write(data, size); }) &&
        out.Commit();
    if (!written) error = "cannot write " + out.Name() + ": " + out.Error();
    return written;
}

int Failed(const std::string& message) {
    std::cerr << kProgram << ": " << message << "\n";
    return kExitFailed;
}

int Usage(const std::string& message) { return cli::Usage(kProgram, message); }

std::optional<int> CheckOptions(int argc, char** argv, QrOptions& options, QrFormat& format) {
    UsageError error;
    if (!ParseOptions(argc, argv, options, error)) return Usage(error.message);
    if (options.help) {
        std::cout << HelpText();
        return kExitOk;
    }
    if (options.programVersion) {
        std::cout << VersionText(kProgram) << "\n";
        return kExitOk;
    }
    const auto found = FindFormat(options.format);
    if (!found) return Usage(UnknownFormatMessage(options.format));
    format = *found;
    // Refused before any work: the symbols would replace the data they are made of.
    if (AtomicFile::SameFile(options.input, options.output))
        return Usage("output file " + options.output + " is the input file " + options.input);
    if (!IsPicture(format) && !options.extra.empty())
        return Usage("option " + options.extra.front().first + " applies to pictures only");
    return std::nullopt;
}

std::optional<int> ReadCode(const QrOptions& options, std::string& code) {
    if (options.text) {
        if (options.text->size() > kMaxInputBytes) return Failed(TooLongText("TEXT"));
        code = *options.text;
        return std::nullopt;
    }
    std::string message;
    const ReadStatus read = ReadAllBytes(options.input, code, message);
    if (read == ReadStatus::TooLong) return Failed(message);
    if (read != ReadStatus::Read) return Usage(message);
    return std::nullopt;
}

void Configure(QrDriver& driver, const QrOptions& o, std::string code) {
    driver.Encoder().SetVersion(o.version);
    driver.Encoder().SetEclevel(o.level);
    driver.Encoder().SetEmode(o.emode);
    driver.Encoder().SetEmodeOptimal(o.optimal);
    driver.Encoder().SetMasktype(o.mask);
    driver.SetPxmag(o.pxmag);
    driver.Encoder().SetMode(o.structure);
    driver.Encoder().SetCount(o.count);
    driver.SetBinaryOperation(o.binary);
    driver.SetCode(std::move(code));
}

std::string FailureMessage(const QrDriver& d) {
    const int k = d.Encoder().CurrentSymbol();
    std::string where = "symbol " + std::to_string(k) + " of " + std::to_string(d.Encoder().Count()) + ": ";
    if (d.PieceLength(k) > kMaxSymbolText)
        return where + "its " + std::to_string(d.PieceLength(k)) + " bytes exceed what a symbol holds (" +
               SymbolLimitText() + ")";
    static const char* kModes[] = {"numeric", "alphanumeric", "byte", "kanji"};
    static const char* kLevels = "LMQH";
    if (d.Encoder().LastFailure() == EncodeFailure::ByteNotInMode)
        return where + "holds a byte that " + kModes[d.Encoder().Emode()] + " mode cannot encode";
    return where + "its " + std::to_string(d.PieceLength(k)) + " bytes do not fit version " +
           std::to_string(d.Encoder().Version()) + "-" + kLevels[d.Encoder().Eclevel()];
}

std::string InfoText(const QrDriver& d) {
    static const char* kModes[] = {"single", "connect", "plus"};
    std::ostringstream s;
    s << "len=" << d.Len() << "\n"
      << "count=" << d.Encoder().Count() << "\n"
      << "mode=" << kModes[d.Encoder().Mode()] << "\n"
      << "parity=" << d.Encoder().Parity() << "\n"
      << "emode_r=" << d.Encoder().EmodeR() << "\n"
      << "masktype_r=" << d.Encoder().MasktypeR() << "\n"
      << "capacity=" << d.Encoder().GetCapacity() << "\n";
    return s.str();
}

}  // namespace mosaiko::cli
