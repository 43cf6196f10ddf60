#include "AtomicFile.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <dirent.h>
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

// What a temporary file of ours is called: ".name" + kTempTag + pid + ".XXXXXX".
constexpr const char* kTempTag = ".mosaiko-";
constexpr std::size_t kRandomPart = 6;

// The folder part of `path`, with its slash; "./" for a bare name.
std::string Folder(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? "./" : path.substr(0, slash + 1);
}

std::string BaseName(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// "folder/.name.mosaiko-PID.XXXXXX" beside the target, for mkstemp: the pid
// tells a later run whether the writer still lives.
std::string TempPattern(const std::string& path) {
    return Folder(path) + "." + BaseName(path) + kTempTag + std::to_string(::getpid()) + "." +
           std::string(kRandomPart, 'X');
}

// The pid in a temporary file name of ours, or 0 when `name` is not one.
pid_t WriterOf(const std::string& name) {
    const auto tag = name.rfind(kTempTag);
    const auto dot = name.rfind('.');
    if (name.empty() || name[0] != '.' || tag == std::string::npos || tag == 0 || dot <= tag ||
        name.size() - dot - 1 != kRandomPart)
        return 0;
    const std::string digits = name.substr(tag + std::strlen(kTempTag), dot - tag - std::strlen(kTempTag));
    if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos) return 0;
    return static_cast<pid_t>(std::stol(digits));
}

// Removes what a run of ours killed outright (SIGKILL, a power cut) left in
// `folder`: our names, our user's regular files, and the writer gone.
void RemoveLeftovers(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return;
    while (const dirent* entry = ::readdir(dir)) {
        const pid_t writer = WriterOf(entry->d_name);
        if (writer <= 0 || writer == ::getpid() || ::kill(writer, 0) == 0 || errno != ESRCH) continue;
        const std::string path = folder + entry->d_name;
        struct stat st {};
        if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid())
            ::unlink(path.c_str());
    }
    ::closedir(dir);
}

// The file `path` names: symbolic links are followed hop by hop, so that a
// link to a file not there yet names the file to create.
std::string FollowLinks(std::string path) {
    for (int hop = 0; hop < 40; ++hop) {
        char target[PATH_MAX];
        const ssize_t n = ::readlink(path.c_str(), target, sizeof target);
        if (n <= 0) return path;
        const std::string next(target, static_cast<std::size_t>(n));
        path = next[0] == '/' ? next : Folder(path) + next;
    }
    return path;  // a loop: opening it names the error
}

// Copies all of `from` (rewound) over the start of `to`.
bool CopyAll(int from, int to) {
    if (::lseek(from, 0, SEEK_SET) != 0) return false;
    char chunk[1 << 16];
    for (;;) {
        const ssize_t n = ::read(from, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n == 0;
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(to, chunk + done, static_cast<std::size_t>(n - done));
            if (w < 0 && errno == EINTR) continue;
            if (w < 0) return false;
            done += w;
        }
    }
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

bool AtomicFile::SameFile(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty() || a == "-" || b == "-") return false;
    struct stat sa {}, sb {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

bool AtomicFile::Open() {
    if (path_ == "-") {
        fd_ = STDOUT_FILENO;
        return true;
    }
    target_ = FollowLinks(path_);
    struct stat st {};
    const bool exists = ::stat(target_.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) return Fail(std::strerror(EISDIR));
    if (exists && !S_ISREG(st.st_mode)) {
        fd_ = ::open(target_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        ownsFd_ = fd_ >= 0;
        return ownsFd_ || Fail(std::strerror(errno));
    }
    hardLinked_ = exists && st.st_nlink > 1;
    RemoveLeftovers(Folder(target_));
    std::string pattern = TempPattern(target_);
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

// A file with several names keeps its inode: the finished, synced bytes are
// copied into it, so that every name sees them. Only this copy is in place.
bool AtomicFile::CopyIntoTarget() {
    const int target = ::open(target_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (target < 0) return Fail(std::strerror(errno));
    const bool copied = CopyAll(fd_, target) && ::fsync(target) == 0;
    const int reason = errno;
    ::close(target);
    if (!copied) return Fail(std::strerror(reason));
    Discard();
    return true;
}

bool AtomicFile::Commit() {
    if (fd_ < 0) return Fail(error_.empty() ? "not open" : error_);
    if (temp_.empty()) {
        Discard();
        return true;
    }
    if (::fsync(fd_) != 0) return Fail(std::strerror(errno));
    if (hardLinked_) return CopyIntoTarget();
    ::close(fd_);
    fd_ = -1;
    ownsFd_ = false;
    if (::rename(temp_.c_str(), target_.c_str()) != 0) return Fail(std::strerror(errno));
    ForgetPending();
    temp_.clear();
    return true;
}

}  // namespace mosaiko
