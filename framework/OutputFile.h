// The Qt face of AtomicFile, for writers that want a QIODevice (the report's
// PDF): the same temporary file, sync and rename, or standard output for "-".
// The device writes through AtomicFile, so that a failed write (a full disk)
// keeps the system's reason.
#pragma once

#include <QFile>
#include <QIODevice>
#include <QString>
#include <string>

#include "AtomicFile.h"

namespace mosaiko {

class OutputFile {
public:
    explicit OutputFile(const QString& path);
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool Open();
    QIODevice& Device() { return device_; }
    // Flushes, syncs and renames over the old file; false keeps the old one.
    bool Commit();

    // The file as a message names it: its path, or "standard output".
    QString Name() const { return QFile::decodeName(atomic_.Name().c_str()); }
    // Why Open, a write or Commit failed, in the system's words.
    QString Error() const { return QString::fromLocal8Bit(atomic_.Error()); }
    // True once a write has failed: the writer's own account of it says less.
    bool WriteFailed() const { return !atomic_.Error().empty(); }

private:
    // Buffers the writer's many small writes into AtomicFile::Write calls.
    class Sink : public QIODevice {
    public:
        explicit Sink(AtomicFile& atomic) : atomic_(atomic) {}
        bool Flush();

    protected:
        qint64 readData(char*, qint64) override { return -1; }
        qint64 writeData(const char* data, qint64 size) override;

    private:
        AtomicFile& atomic_;
        std::string pending_;
    };

    AtomicFile atomic_;
    Sink device_{atomic_};
};

}  // namespace mosaiko
