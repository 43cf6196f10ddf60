#include "QrRun.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "OutputFile.h"

namespace mosaiko::cli {

namespace {

std::string InputName(const std::string& path) { return path.empty() || path == "-" ? "standard input" : path; }

ReadStatus Unreadable(const std::string& path, int error, std::string& message) {
    message = "cannot read " + InputName(path) + ": " + std::strerror(error);
    return ReadStatus::Unreadable;
}

}  // namespace

std::string TooLongText(const std::string& what) {
    return what + " holds more than " + std::to_string(kMaxInputBytes) + " bytes, the most that 1024 symbols of " +
           std::to_string(kMaxSymbolText) + " bytes hold";
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
    OutputFile out(path.empty() ? QStringLiteral("-") : QString::fromLocal8Bit(path.c_str()));
    const bool written = out.Open() &&
                         out.Device().write(bytes.data(), static_cast<qint64>(bytes.size())) ==
                             static_cast<qint64>(bytes.size()) &&
                         out.Commit();
    if (!written) {
        const QString reason = out.Error().isEmpty() ? out.Device().errorString() : out.Error();
        error = "cannot write " + out.Name().toLocal8Bit().toStdString() + ": " + reason.toLocal8Bit().toStdString();
    }
    return written;
}

void Configure(QrDriver& driver, const QrOptions& o, std::string code) {
    driver.SetVersion(o.version);
    driver.SetEclevel(o.level);
    driver.SetEmode(o.emode);
    driver.SetMasktype(o.mask);
    driver.SetPxmag(o.pxmag);
    driver.SetMode(o.structure);
    driver.SetCount(o.count);
    driver.SetBinaryOperation(o.binary);
    driver.SetCode(std::move(code));
}

std::string FailureMessage(const QrDriver& d) {
    const int k = d.CurrentSymbol();
    std::string where = "symbol " + std::to_string(k) + " of " + std::to_string(d.Count()) + ": ";
    if (d.PieceLength(k) > kMaxSymbolText)
        return where + "its " + std::to_string(d.PieceLength(k)) + " bytes exceed the 7089 bytes a symbol can hold";
    static const char* kModes[] = {"numeric", "alphanumeric", "byte", "kanji"};
    static const char* kLevels = "LMQH";
    if (d.LastFailure() == EncodeFailure::ByteNotInMode)
        return where + "holds a byte that " + kModes[d.Emode()] + " mode cannot encode";
    return where + "its " + std::to_string(d.PieceLength(k)) + " bytes do not fit version " +
           std::to_string(d.Version()) + "-" + kLevels[d.Eclevel()];
}

std::string InfoText(const QrDriver& d) {
    static const char* kModes[] = {"single", "connect", "plus"};
    std::ostringstream s;
    s << "len=" << d.Len() << "\n"
      << "count=" << d.Count() << "\n"
      << "mode=" << kModes[d.Mode()] << "\n"
      << "parity=" << d.Parity() << "\n"
      << "emode_r=" << d.EmodeR() << "\n"
      << "masktype_r=" << d.MasktypeR() << "\n"
      << "capacity=" << d.GetCapacity() << "\n";
    return s.str();
}

}  // namespace mosaiko::cli
