#include "OutputFile.h"

#include <QFile>

namespace mosaiko {
namespace {

constexpr std::size_t kWriteChunk = 64 * 1024;

}  // namespace

bool OutputFile::Sink::Flush() {
    const bool written = atomic_.Write(pending_.data(), pending_.size());
    pending_.clear();
    return written;
}

qint64 OutputFile::Sink::writeData(const char* data, qint64 size) {
    pending_.append(data, static_cast<std::size_t>(size));
    if (pending_.size() >= kWriteChunk && !Flush()) {
        setErrorString(QString::fromLocal8Bit(atomic_.Error()));
        return -1;
    }
    return size;
}

OutputFile::OutputFile(const QString& path) : atomic_(QFile::encodeName(path).toStdString()) {}

bool OutputFile::Open() { return atomic_.Open() && device_.open(QIODevice::WriteOnly | QIODevice::Unbuffered); }

bool OutputFile::Commit() {
    if (!device_.isOpen()) return atomic_.Commit();  // never opened: it names the reason
    const bool flushed = device_.Flush();
    device_.close();
    return flushed && atomic_.Commit();
}

}  // namespace mosaiko
