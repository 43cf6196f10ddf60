// The per-user key of string values that holds the window's eight settings:
// on Windows the registry key HKEY_CURRENT_USER\Software\Mosaiko, elsewhere
// an INI file (~/.config/Mosaiko/Mosaiko.ini on Linux).
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <stdexcept>

class QSettings;

namespace mosaiko {

class SettingsStoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class SettingsStore {
public:
    // The user's store; created on the first write when absent.
    static std::unique_ptr<SettingsStore> OpenUser();
    // An INI file at `path`, for tests and other callers that choose the place.
    static std::unique_ptr<SettingsStore> OpenFile(const QString& path);
    ~SettingsStore();

    // A missing value reads as empty. Throws SettingsStoreError when the store could
    // not be read or the value is not a string (a number in the registry; a
    // list, @Variant or @ByteArray value in an INI file).
    QString ReadString(const QString& name) const;
    void WriteString(const QString& name, const QString& value);
    // Writes the values out; throws SettingsStoreError when that fails.
    void Flush();

private:
    explicit SettingsStore(std::unique_ptr<QSettings> settings);
    std::unique_ptr<QSettings> settings_;
};

using SettingsOpener = std::function<std::unique_ptr<SettingsStore>()>;

// The stored text as a signed 32-bit decimal integer; `fallback` when it is
// empty or does not parse.
int ReadInteger(const QString& text, int fallback);

}  // namespace mosaiko
