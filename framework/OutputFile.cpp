#include "OutputFile.h"

namespace mosaiko {

OutputFile::OutputFile(const QString& path) : atomic_(QFile::encodeName(path).toStdString()) {}

bool OutputFile::Open() {
    if (!atomic_.Open()) return false;
    return file_.open(atomic_.Descriptor(), QIODevice::WriteOnly, QFileDevice::DontCloseHandle) ||
           atomic_.Fail(file_.errorString().toLocal8Bit().toStdString());
}

bool OutputFile::Commit() {
    if (!file_.isOpen()) return atomic_.Commit();  // never opened: it names the reason
    const bool flushed = file_.flush() && file_.error() == QFileDevice::NoError;
    const std::string reason = file_.errorString().toLocal8Bit().toStdString();
    file_.close();
    if (!flushed) return atomic_.Fail(reason);
    return atomic_.Commit();
}

}  // namespace mosaiko
