#include "AtomicFile.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mosaiko {
namespace {

// The temporary file being written, for the signal handler: a run killed by
// SIGTERM or Ctrl+C must not leave it behind. One output at a time.
char gPendingTemp[4096];

void RemovePendingAndDie(int sig) {
    if (gPendingTemp[0] != '\0') ::unlink(gPendingTemp);
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

void WatchSignals(const std::string& temp) {
    static const bool installed = [] {
        for (int sig : {SIGTERM, SIGINT, SIGHUP}) std::signal(sig, RemovePendingAndDie);
        return true;
    }();
    (void)installed;
    if (temp.size() < sizeof gPendingTemp) std::memcpy(gPendingTemp, temp.c_str(), temp.size() + 1);
}

void ForgetPending() { gPendingTemp[0] = '\0'; }

// A new file gets the mode a plain open would give it; a replaced one keeps its own.
mode_t ModeFor(const struct stat* existing) {
    if (existing != nullptr) return existing->st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// "folder/.name.XXXXXX" beside the target, for mkstemp.
std::string TempPattern(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return "./." + path + ".XXXXXX";
    return path.substr(0, slash + 1) + "." + path.substr(slash + 1) + ".XXXXXX";
}

}  // namespace

AtomicFile::AtomicFile(std::string path) : path_(std::move(path)) {}

AtomicFile::~AtomicFile() { Discard(); }

std::string AtomicFile::Name() const { return path_ == "-" ? "standard output" : path_; }

bool AtomicFile::Fail(std::string reason) {
    error_ = std::move(reason);
    Discard();
    return false;
}

void AtomicFile::Discard() {
    if (ownsFd_ && fd_ >= 0) ::close(fd_);
    fd_ = -1;
    ownsFd_ = false;
    if (temp_.empty()) return;
    ::unlink(temp_.c_str());
    ForgetPending();
    temp_.clear();
}

bool AtomicFile::Open() {
    if (path_ == "-") {
        fd_ = STDOUT_FILENO;
        return true;
    }
    struct stat st {};
    const bool exists = ::stat(path_.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) return Fail(std::strerror(EISDIR));
    if (exists && !S_ISREG(st.st_mode)) {
        fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        ownsFd_ = fd_ >= 0;
        return ownsFd_ || Fail(std::strerror(errno));
    }
    std::string pattern = TempPattern(path_);
    fd_ = ::mkstemp(pattern.data());
    if (fd_ < 0) return Fail(std::strerror(errno));
    ownsFd_ = true;
    temp_ = pattern;
    WatchSignals(temp_);
    return ::fchmod(fd_, ModeFor(exists ? &st : nullptr)) == 0 || Fail(std::strerror(errno));
}

bool AtomicFile::Write(const char* data, std::size_t size) {
    if (fd_ < 0) return Fail(error_.empty() ? "not open" : error_);
    while (size > 0) {
        const ssize_t n = ::write(fd_, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return Fail(std::strerror(errno));
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool AtomicFile::Commit() {
    if (fd_ < 0) return Fail(error_.empty() ? "not open" : error_);
    if (temp_.empty()) {
        Discard();
        return true;
    }
    if (::fsync(fd_) != 0) return Fail(std::strerror(errno));
    ::close(fd_);
    fd_ = -1;
    ownsFd_ = false;
    if (::rename(temp_.c_str(), path_.c_str()) != 0) return Fail(std::strerror(errno));
    ForgetPending();
    temp_.clear();
    return true;
}

}  // namespace mosaiko
