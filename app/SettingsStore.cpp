#include "SettingsStore.h"

#include <QSettings>

namespace mosaiko {

SettingsStore::SettingsStore(std::unique_ptr<QSettings> settings) : settings_(std::move(settings)) {}

SettingsStore::~SettingsStore() = default;

std::unique_ptr<SettingsStore> SettingsStore::OpenUser() {
#ifdef Q_OS_WIN
    auto settings = std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\Software\\Mosaiko"),
                                                QSettings::NativeFormat);
#else
    auto settings = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                                QStringLiteral("Mosaiko"), QStringLiteral("Mosaiko"));
#endif
    return std::unique_ptr<SettingsStore>(new SettingsStore(std::move(settings)));
}

std::unique_ptr<SettingsStore> SettingsStore::OpenFile(const QString& path) {
    return std::unique_ptr<SettingsStore>(new SettingsStore(std::make_unique<QSettings>(path, QSettings::IniFormat)));
}

QString SettingsStore::ReadString(const QString& name) const {
    if (settings_->status() != QSettings::NoError) throw SettingsStoreError("settings cannot be read");
    const QVariant value = settings_->value(name);
    if (!value.isValid()) return {};
    if (value.typeId() != QMetaType::QString) throw SettingsStoreError("not a string value");
    return value.toString();
}

void SettingsStore::WriteString(const QString& name, const QString& value) { settings_->setValue(name, value); }

void SettingsStore::Flush() {
    settings_->sync();
    if (settings_->status() != QSettings::NoError)
        throw SettingsStoreError("The settings could not be saved to " + settings_->fileName().toStdString());
}

int ReadInteger(const QString& text, int fallback) {
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? value : fallback;
}

}  // namespace mosaiko
