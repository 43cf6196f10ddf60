#include "ExceptionHandler.h"

#include <QApplication>
#include <QMessageBox>
#include <stdexcept>

namespace mosaiko {
namespace {

TExceptionHandler& Installed() {
    static TExceptionHandler handler;
    return handler;
}

void ShowMessageBox(const QString& message) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return;  // no widgets to show it with
    QMessageBox::critical(QApplication::activeWindow(), QCoreApplication::applicationName(), message);
}

}  // namespace

TExceptionHandler SetExceptionHandler(TExceptionHandler handler) {
    TExceptionHandler previous = std::move(Installed());
    Installed() = std::move(handler);
    return previous;
}

void HandleException(const std::exception& error) {
    const QString message = QString::fromUtf8(error.what());
    if (Installed()) Installed()(message);
    else ShowMessageBox(message);
}

void HandleCurrentException() {
    try {
        throw;
    } catch (const std::exception& error) {
        HandleException(error);
    } catch (...) {
        HandleException(std::runtime_error("Unknown exception"));
    }
}

}  // namespace mosaiko
