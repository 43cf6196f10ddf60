// Mosaiko: list reports with QR codes. `mosaiko [FILE]` starts the main
// window, imports FILE when one is named, and runs the event loop until the
// window is closed, by the user or by SIGTERM.
#include <QApplication>
#include <QDirIterator>
#include <QIcon>

#include "Font.h"
#include "PrintActions.h"
#include "QtTranslations.h"
#include "StartWindow.h"
#include "TerminationSignal.h"

namespace {

// The packaged icon in every size drawn from it at build time.
QIcon AppIcon() {
    QIcon icon;
    QDirIterator sizes(QStringLiteral(":/icons"), {QStringLiteral("*.png")}, QDir::Files, QDirIterator::Subdirectories);
    while (sizes.hasNext()) icon.addFile(sizes.next());
    return icon;
}

}  // namespace

int main(int argc, char** argv) {
    mosaiko::CatchTermination();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mosaiko"));
    QApplication::setApplicationDisplayName(QStringLiteral("Mosaiko"));
    QApplication::setDesktopFileName(QStringLiteral(MOSAIKO_APP_ID));
    QApplication::setWindowIcon(AppIcon());
    mosaiko::RegisterFontSubstitutes();
    // Qt's dialogs in the user's language; our own texts are Japanese already.
    mosaiko::InstallQtTranslations(app);
    const auto window = mosaiko::StartMainWindow(QApplication::arguments());
    const auto printing = mosaiko::AttachPrintActions(*window);
    mosaiko::CloseOnTermination(*window);
    return app.exec();
}
