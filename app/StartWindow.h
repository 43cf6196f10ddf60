// What `mosaiko [FILE]` opens: the main window, shown, with FILE imported as
// if it had been chosen with "…" (a file manager's "open with").
#pragma once

#include <QStringList>
#include <memory>

#include "MainWindow.h"

namespace mosaiko {

// `arguments` as QCoreApplication::arguments() gives them: the program, then
// at most the FILE. The import runs once the event loop starts, so the
// window is up and its cancel button works; a FILE that cannot be read gets
// the import's own message.
std::unique_ptr<TQRTest_main> StartMainWindow(const QStringList& arguments, MainWindowSeams seams = DefaultSeams());

}  // namespace mosaiko
