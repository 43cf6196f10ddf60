// The Qt face of AtomicFile, for writers that want a QIODevice (the report's
// PDF): the same temporary file, sync and rename, or standard output for "-".
#pragma once

#include <QFile>
#include <QString>

#include "AtomicFile.h"

namespace mosaiko {

class OutputFile {
public:
    explicit OutputFile(const QString& path);
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool Open();
    QIODevice& Device() { return file_; }
    // Flushes, syncs and renames over the old file; false keeps the old one.
    bool Commit();

    // The file as a message names it: its path, or "standard output".
    QString Name() const { return QFile::decodeName(atomic_.Name().c_str()); }
    // Why Open or Commit failed.
    QString Error() const { return QString::fromLocal8Bit(atomic_.Error()); }

private:
    AtomicFile atomic_;
    QFile file_;  // declared after atomic_: closed before its descriptor is
};

}  // namespace mosaiko
