#include "SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QTemporaryDir>

namespace mosaiko {
namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

// Where a value's text runs on after the end of its line: inside quotes, or
// after a backslash that escapes the line end.
struct ValueState {
    bool quoted = false;
    bool escaped = false;
    bool Open() const { return quoted || escaped; }
};

void Scan(const QByteArray& text, ValueState& state) {
    for (const char c : text) {
        if (state.escaped) state.escaped = false;
        else if (c == '\\') state.escaped = true;
        else if (c == '"') state.quoted = !state.quoted;
    }
}

// A line that holds no value and that the INI reader would flag as a format
// error; passing over it keeps the values after it where they were.
bool IsBrokenLine(const QByteArray& trimmed) {
    if (trimmed.isEmpty() || trimmed.startsWith(';')) return false;
    if (trimmed.startsWith('[')) return !trimmed.contains(']');
    return !trimmed.contains('=');
}

// The file as the INI reader reads it without error: byte-order mark and
// broken lines left out, every value line as it was.
QByteArray CleanIniText(QByteArray text) {
    if (text.startsWith(kByteOrderMark)) text.remove(0, 3);
    QByteArray clean;
    ValueState value;
    for (const QByteArray& line : text.split('\n')) {
        const bool continued = value.Open();
        const QByteArray trimmed = line.trimmed();
        if (!continued && IsBrokenLine(trimmed)) continue;
        if (continued || trimmed.contains('=')) {
            value.escaped = false;
            Scan(continued ? line : line.mid(line.indexOf('=') + 1), value);
        }
        clean += line;
        clean += '\n';
    }
    return clean;
}

std::string Utf8(const QString& text) { return text.toStdString(); }

SettingsStoreError SaveError(const QString& place, const QString& reason) {
    return SettingsStoreError(Utf8(QStringLiteral("設定を保存できませんでした: %1（%2）").arg(place, reason)));
}

}  // namespace

SettingsStore::SettingsStore(std::unique_ptr<QSettings> settings, QString iniPath)
    : settings_(std::move(settings)), iniPath_(std::move(iniPath)) {}

SettingsStore::~SettingsStore() = default;

std::unique_ptr<SettingsStore> SettingsStore::OpenUser() {
#ifdef Q_OS_WIN
    auto settings = std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\Software\\Mosaiko"),
                                                QSettings::NativeFormat);
    return std::unique_ptr<SettingsStore>(new SettingsStore(std::move(settings), QString()));
#else
    const QSettings where(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Mosaiko"),
                          QStringLiteral("Mosaiko"));
    return OpenFile(where.fileName());
#endif
}

std::unique_ptr<SettingsStore> SettingsStore::OpenFile(const QString& path) {
    // The INI reader stops trusting a whole file for one odd line, so it
    // reads a cleaned copy; the user's file is replaced only by Flush.
    QByteArray text;
    QString readError;
    QFile file(path);
    if (file.exists()) {
        if (file.open(QIODevice::ReadOnly)) text = file.readAll();
        if (file.error() != QFileDevice::NoError) readError = file.errorString();
    }
    auto copyDir = std::make_unique<QTemporaryDir>();
    const QString copyPath = copyDir->filePath(QStringLiteral("Mosaiko.ini"));
    QFile copy(copyPath);
    if (!copyDir->isValid() || !copy.open(QIODevice::WriteOnly) || copy.write(CleanIniText(text)) < 0)
        readError = QStringLiteral("作業用の複写を作れません");
    copy.close();
    std::unique_ptr<SettingsStore> store(
        new SettingsStore(std::make_unique<QSettings>(copyPath, QSettings::IniFormat), path));
    store->copyDir_ = std::move(copyDir);
    store->readError_ = readError;
    return store;
}

QString SettingsStore::ReadString(const QString& name) const {
    // An INI file's FormatError status is not looked at: it speaks for the
    // whole file, and the lines it is about were left out of the copy.
    const bool unreadable = iniPath_.isEmpty() ? settings_->status() != QSettings::NoError : !readError_.isEmpty();
    if (unreadable) throw SettingsStoreError("settings cannot be read");
    const QVariant value = settings_->value(name);
    if (!value.isValid()) return {};
    if (value.typeId() != QMetaType::QString) throw SettingsStoreError("not a string value");
    return value.toString();
}

void SettingsStore::WriteString(const QString& name, const QString& value) { settings_->setValue(name, value); }

void SettingsStore::Flush() {
    settings_->sync();
    if (iniPath_.isEmpty()) {
        if (settings_->status() != QSettings::NoError) throw SaveError(settings_->fileName(), QStringLiteral("書き込みに失敗しました"));
        return;
    }
    // What was not read would be lost with the file.
    if (!readError_.isEmpty()) throw SaveError(iniPath_, QStringLiteral("元のファイルを読めません: ") + readError_);
    QFile copy(settings_->fileName());
    if (settings_->status() == QSettings::AccessError || !copy.open(QIODevice::ReadOnly))
        throw SaveError(iniPath_, QStringLiteral("作業用の複写に書けません"));
    const QByteArray text = copy.readAll();
    QDir().mkpath(QFileInfo(iniPath_).absolutePath());
    QSaveFile out(iniPath_);
    if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size() || !out.commit())
        throw SaveError(iniPath_, out.errorString());
}

int ReadInteger(const QString& text, int fallback) {
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? value : fallback;
}

}  // namespace mosaiko
