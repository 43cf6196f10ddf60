#include "FileImport.h"

#include <QFile>
#include <cstdint>
#include <cstring>
#include <unistd.h>

namespace mosaiko {
namespace {

ImportResult ReadFailure(const QString& path, const QFile& file) {
    ImportResult result;
    result.outcome = ImportOutcome::ReadError;
    result.detail = QStringLiteral("ファイル %1 を読めません: %2").arg(path, file.errorString()).toStdString();
    return result;
}

// "-" is standard input.
bool OpenInput(QFile& file, const QString& path) {
    if (path == QLatin1String("-")) return file.open(STDIN_FILENO, QIODevice::ReadOnly);
    return file.open(QIODevice::ReadOnly);
}

}  // namespace

ImportResult ImportFile(const QString& path, MemoLines& memo, const std::function<bool()>& keepGoing,
                        EncodingChoice choice, bool csv) {
    memo.Clear();
    QFile file(path);
    if (!OpenInput(file, path)) return ReadFailure(path, file);
    // A pipe (standard input, a FIFO, /dev/stdin) is read once: the bytes the
    // encoding guess took are kept and handed out again before the rest.
    const bool stream = file.isSequential();
    std::string sniffed;
    std::size_t replayed = 0;
    const LineReader::ReadFn read = [&](char* buffer, std::size_t size) -> std::ptrdiff_t {
        if (replayed < sniffed.size()) {
            const std::size_t n = std::min(size, sniffed.size() - replayed);
            std::memcpy(buffer, sniffed.data() + replayed, n);
            replayed += n;
            return static_cast<std::ptrdiff_t>(n);
        }
        return static_cast<std::ptrdiff_t>(file.read(buffer, static_cast<qint64>(size)));
    };
    const LineReader::ReadFn sniffRead = [&](char* buffer, std::size_t size) -> std::ptrdiff_t {
        const auto n = static_cast<std::ptrdiff_t>(file.read(buffer, static_cast<qint64>(size)));
        if (stream && n > 0) sniffed.append(buffer, static_cast<std::size_t>(n));
        return n;
    };
    // A file that can seek is read again from its start after the guess; a
    // stream's guess keeps what it read, so it stops at kMaxStreamSniff.
    const std::uint64_t sniffLimit = stream ? kMaxStreamSniff : UINT64_MAX;
    const std::optional<TextEncoding> encoding =
        ResolveEncoding(choice, [&] { return SniffEncoding(sniffRead, LineReader::kDefaultChunk, sniffLimit); });
    if (!encoding || (!stream && !file.seek(0))) return ReadFailure(path, file);
    LineReader reader(ReadAsUtf8(read, *encoding));
    ImportResult result = ImportLines(reader, memo, keepGoing, *encoding, csv);
    if (result.outcome == ImportOutcome::ReadError) result.detail = ReadFailure(path, file).detail;
    return result;
}

}  // namespace mosaiko
