#include "FileImport.h"

#include <QFile>

namespace mosaiko {

ImportResult ImportFile(const QString& path, MemoLines& memo, const std::function<bool()>& keepGoing) {
    memo.Clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return ImportResult{ImportOutcome::ReadError, 0, 0};
    LineReader reader([&file](char* buffer, std::size_t size) -> std::ptrdiff_t {
        return static_cast<std::ptrdiff_t>(file.read(buffer, static_cast<qint64>(size)));
    });
    return ImportLines(reader, memo, keepGoing);
}

}  // namespace mosaiko
