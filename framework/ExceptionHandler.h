// The application's standard exception handler: where an exception goes that
// must not leave a message handler (for example a clipboard notification).
// By default it shows the message in a modal error box; a program or a test
// can install its own handler instead.
#pragma once

#include <QString>
#include <exception>
#include <functional>

namespace mosaiko {

using TExceptionHandler = std::function<void(const QString& message)>;

// Installs handler (an empty one restores the message box); returns the previous one.
TExceptionHandler SetExceptionHandler(TExceptionHandler handler);
// Hands the exception's message to the handler.
void HandleException(const std::exception& error);
// Calls HandleException for the exception being handled (call inside catch).
void HandleCurrentException();

}  // namespace mosaiko
