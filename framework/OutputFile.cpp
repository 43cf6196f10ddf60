#include "OutputFile.h"

#include <QFileInfo>
#include <cerrno>
#include <csignal>
#include <cstdlib>
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

void WatchSignals(const QByteArray& temp) {
    static const bool installed = [] {
        for (int sig : {SIGTERM, SIGINT, SIGHUP}) std::signal(sig, RemovePendingAndDie);
        return true;
    }();
    (void)installed;
    if (static_cast<size_t>(temp.size()) < sizeof gPendingTemp) std::memcpy(gPendingTemp, temp.constData(), temp.size() + 1);
}

void ForgetPending() { gPendingTemp[0] = '\0'; }

QString Reason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// A new file gets the mode a plain open would give it; a replaced one keeps its own.
mode_t ModeFor(const struct stat* existing) {
    if (existing != nullptr) return existing->st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

OutputFile::OutputFile(QString path) : path_(std::move(path)) {}

OutputFile::~OutputFile() { Discard(); }

QString OutputFile::Name() const { return path_ == QLatin1String("-") ? QStringLiteral("standard output") : path_; }

bool OutputFile::Fail(const QString& reason) {
    error_ = reason;
    Discard();
    return false;
}

void OutputFile::Discard() {
    if (file_.isOpen()) file_.close();
    if (temp_.isEmpty()) return;
    ::unlink(QFile::encodeName(temp_).constData());
    ForgetPending();
    temp_.clear();
}

bool OutputFile::Open() {
    if (path_ == QLatin1String("-"))
        return file_.open(STDOUT_FILENO, QIODevice::WriteOnly, QFileDevice::DontCloseHandle) || Fail(file_.errorString());
    const QByteArray target = QFile::encodeName(path_);
    struct stat st {};
    const bool exists = ::stat(target.constData(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) return Fail(Reason(EISDIR));
    if (exists && !S_ISREG(st.st_mode)) {
        file_.setFileName(path_);
        return file_.open(QIODevice::WriteOnly) || Fail(file_.errorString());
    }
    const QFileInfo info(path_);
    QByteArray pattern = QFile::encodeName(info.absolutePath() + QLatin1String("/.") + info.fileName()) + ".XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) return Fail(Reason(errno));
    temp_ = QFile::decodeName(pattern);
    WatchSignals(pattern);
    if (::fchmod(fd, ModeFor(exists ? &st : nullptr)) != 0) {
        ::close(fd);
        return Fail(Reason(errno));
    }
    return file_.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle) || (::close(fd), Fail(file_.errorString()));
}

bool OutputFile::Commit() {
    if (!file_.isOpen()) return Fail(error_.isEmpty() ? QStringLiteral("not open") : error_);
    if (!file_.flush() || file_.error() != QFileDevice::NoError) return Fail(file_.errorString());
    if (temp_.isEmpty()) {
        file_.close();
        return true;
    }
    if (::fsync(file_.handle()) != 0) return Fail(Reason(errno));
    file_.close();
    if (::rename(QFile::encodeName(temp_).constData(), QFile::encodeName(path_).constData()) != 0) return Fail(Reason(errno));
    ForgetPending();
    temp_.clear();
    return true;
}

}  // namespace mosaiko
