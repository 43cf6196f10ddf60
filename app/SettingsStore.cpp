#include "SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QRegularExpression>
#include <algorithm>
#include <limits>

#include "IniText.h"

namespace mosaiko {
namespace {

std::string Utf8(const QString& text) { return text.toStdString(); }

SettingsStoreError SaveError(const QString& place, const QString& reason) {
    return SettingsStoreError(Utf8(QStringLiteral("設定を保存できませんでした: %1（%2）").arg(place, reason)));
}

}  // namespace

SettingsStore::SettingsStore() = default;

SettingsStore::~SettingsStore() = default;

std::unique_ptr<SettingsStore> SettingsStore::OpenUser() {
#ifdef Q_OS_WIN
    std::unique_ptr<SettingsStore> store(new SettingsStore);
    store->registry_ = std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\Software\\Mosaiko"),
                                                   QSettings::NativeFormat);
    return store;
#else
    const QSettings where(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Mosaiko"),
                          QStringLiteral("Mosaiko"));
    return OpenFile(where.fileName());
#endif
}

std::unique_ptr<SettingsStore> SettingsStore::OpenFile(const QString& path) {
    std::unique_ptr<SettingsStore> store(new SettingsStore);
    QByteArray text;
    QFile file(path);
    if (file.exists()) {
        if (file.open(QIODevice::ReadOnly)) text = file.readAll();
        if (file.error() != QFileDevice::NoError) store->readError_ = file.errorString();
    }
    store->ini_ = std::make_unique<IniText>(text);
    store->iniPath_ = path;
    return store;
}

QString SettingsStore::ReadString(const QString& name) const {
    if (registry_) {
        if (registry_->status() != QSettings::NoError) throw SettingsStoreError("settings cannot be read");
        const QVariant value = registry_->value(name);
        if (!value.isValid()) return {};
        if (value.typeId() != QMetaType::QString) throw SettingsStoreError("not a string value");
        return value.toString();
    }
    if (!readError_.isEmpty()) throw SettingsStoreError("settings cannot be read");
    const std::optional<IniValue> value = ini_->Value(name);
    if (!value) return {};
    if (!value->isString) throw SettingsStoreError("not a string value");
    return value->text;
}

void SettingsStore::WriteString(const QString& name, const QString& value) {
    if (registry_) registry_->setValue(name, value);
    else ini_->Set(name, value);
}

void SettingsStore::Flush() {
    if (registry_) {
        registry_->sync();
        if (registry_->status() != QSettings::NoError) throw SaveError(registry_->fileName(), QStringLiteral("書き込みに失敗しました"));
        return;
    }
    // What was not read would be lost with the file.
    if (!readError_.isEmpty()) throw SaveError(iniPath_, QStringLiteral("元のファイルを読めません: ") + readError_);
    const QByteArray text = ini_->Bytes();
    QDir().mkpath(QFileInfo(iniPath_).absolutePath());
    QSaveFile out(iniPath_);
    if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size() || !out.commit())
        throw SaveError(iniPath_, out.errorString());
}

int ReadInteger(const QString& text, int fallback) {
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok, 10);
    if (ok) return static_cast<int>(std::clamp<qlonglong>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
    // Beyond even 64 bits: still a number, held to the nearest end.
    const QString digits = text.trimmed();
    static const QRegularExpression number(QStringLiteral("^[+-]?[0-9]+$"));
    if (!number.match(digits).hasMatch()) return fallback;
    return digits.startsWith(u'-') ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
}

}  // namespace mosaiko
