// The framework's general exception class. The message is kept as UTF-8 (what()
// returns it) and is also available as a QString.
#pragma once

#include <QString>
#include <stdexcept>
#include <string>

namespace mosaiko {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& utf8Message) : std::runtime_error(utf8Message) {}
    explicit Exception(const char* utf8Message) : std::runtime_error(utf8Message) {}
    explicit Exception(const QString& message) : std::runtime_error(message.toStdString()) {}

    QString Message() const { return QString::fromUtf8(what()); }
};

// An operation that the object's current state does not allow (for example a
// canvas asked of an image control that holds a metafile).
class EInvalidOperation : public Exception {
public:
    using Exception::Exception;
};

}  // namespace mosaiko
