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

class IniText;

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
    // It is read and written by IniText: a save changes only the values
    // written, and every other line of the file stays as it was.
    static std::unique_ptr<SettingsStore> OpenFile(const QString& path);
    ~SettingsStore();

    // A missing value reads as empty. Throws SettingsStoreError when the store could
    // not be read or the value is not a string (a number in the registry; a
    // list, @Variant or @ByteArray value in an INI file).
    QString ReadString(const QString& name) const;
    // Values not written keep what the store holds; a value equal to the
    // one read leaves the file's line as it was.
    void WriteString(const QString& name, const QString& value);
    // Writes the values out (an INI file atomically, by renaming a complete
    // new file over it); throws SettingsStoreError naming the place and the
    // reason when that fails, and refuses to replace a file it could not read.
    void Flush();

private:
    SettingsStore();
    std::unique_ptr<QSettings> registry_;  // the registry; null for an INI file
    std::unique_ptr<IniText> ini_;
    QString iniPath_;
    QString readError_;  // why the INI file could not be read, if it could not
};

using SettingsOpener = std::function<std::unique_ptr<SettingsStore>()>;

// The stored text as a signed decimal integer, held to the 32-bit range
// (2147483648 reads as 2147483647); `fallback` when it is empty or does not parse.
int ReadInteger(const QString& text, int fallback);

}  // namespace mosaiko
