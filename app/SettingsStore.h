// The per-user key of string values that holds the window's eight settings:
// on Windows the registry key HKEY_CURRENT_USER\Software\Mosaiko, elsewhere
// an INI file (~/.config/Mosaiko/Mosaiko.ini on Linux).
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <stdexcept>

class QSettings;
class QTemporaryDir;

namespace mosaiko {

// what() is UTF-8 text for the user.
class SettingsStoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class SettingsStore {
public:
    // The user's store; created on the first write when absent.
    static std::unique_ptr<SettingsStore> OpenUser();
    // An INI file at `path`, for tests and other callers that choose the place.
    // A byte-order mark and lines that hold no value and are not well formed
    // (a section header without "]", a line without "=") are passed over, so
    // they hide no value from the read and leave no read in error.
    static std::unique_ptr<SettingsStore> OpenFile(const QString& path);
    ~SettingsStore();

    // A missing value reads as empty. Throws SettingsStoreError when the store could
    // not be read or the value is not a string (a number in the registry; a
    // list, @Variant or @ByteArray value in an INI file).
    QString ReadString(const QString& name) const;
    // Values not written keep what the store holds.
    void WriteString(const QString& name, const QString& value);
    // Writes the values out (an INI file atomically, by renaming a complete
    // new file over it); throws SettingsStoreError naming the place and the
    // reason when that fails, and refuses to replace a file it could not read.
    void Flush();

private:
    SettingsStore(std::unique_ptr<QSettings> settings, QString iniPath);
    std::unique_ptr<QSettings> settings_;
    QString iniPath_;                         // the user's INI file; empty for the registry
    std::unique_ptr<QTemporaryDir> copyDir_;  // holds the cleaned copy that settings_ works on
    QString readError_;                       // why the INI file could not be read, if it could not
};

using SettingsOpener = std::function<std::unique_ptr<SettingsStore>()>;

// The stored text as a signed 32-bit decimal integer; `fallback` when it is
// empty or does not parse.
int ReadInteger(const QString& text, int fallback);

}  // namespace mosaiko
