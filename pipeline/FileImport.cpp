#include "FileImport.h"

#include <QFile>

namespace mosaiko {
namespace {

ImportResult ReadFailure(const QString& path, const QFile& file) {
    ImportResult result;
    result.outcome = ImportOutcome::ReadError;
    result.detail = QStringLiteral("ファイル %1 を読めません: %2").arg(path, file.errorString()).toStdString();
    return result;
}

}  // namespace

ImportResult ImportFile(const QString& path, MemoLines& memo, const std::function<bool()>& keepGoing,
                        EncodingChoice choice) {
    memo.Clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return ReadFailure(path, file);
    const LineReader::ReadFn read = [&file](char* buffer, std::size_t size) -> std::ptrdiff_t {
        return static_cast<std::ptrdiff_t>(file.read(buffer, static_cast<qint64>(size)));
    };
    // Deciding may read the whole file once before the import reads it again.
    const std::optional<TextEncoding> encoding = ResolveEncoding(choice, [&] { return SniffEncoding(read); });
    if (!encoding || !file.seek(0)) return ReadFailure(path, file);
    LineReader reader(read);
    ImportResult result = ImportLines(reader, memo, keepGoing, *encoding);
    if (result.outcome == ImportOutcome::ReadError) result.detail = ReadFailure(path, file).detail;
    return result;
}

}  // namespace mosaiko
