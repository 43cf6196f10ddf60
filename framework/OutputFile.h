// An output file that a failed or interrupted run never leaves half-written:
// the bytes go to a temporary file in the same folder, which replaces the old
// file only when everything was written. "-" is standard output; a device
// such as /dev/null holds nothing to keep and is written directly.
#pragma once

#include <QFile>
#include <QString>

namespace mosaiko {

class OutputFile {
public:
    explicit OutputFile(QString path);
    ~OutputFile();  // not committed: the temporary file is removed
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool Open();
    QIODevice& Device() { return file_; }
    // Flushes, syncs and renames over the old file; false keeps the old one.
    bool Commit();

    // The file as a message names it: its path, or "standard output".
    QString Name() const;
    // Why Open or Commit failed.
    QString Error() const { return error_; }

private:
    bool Fail(const QString& reason);
    void Discard();

    QString path_;
    QString temp_;  // empty: written in place (standard output, a device)
    QFile file_;
    QString error_;
};

}  // namespace mosaiko
