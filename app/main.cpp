// Mosaiko: list reports with QR codes. Starts the main window and runs the
// event loop until it is closed.
#include <QApplication>

#include "Font.h"
#include "PrintActions.h"
#include "MainWindow.h"
#include "QtTranslations.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mosaiko"));
    QApplication::setApplicationDisplayName(QStringLiteral("Mosaiko"));
    mosaiko::RegisterFontSubstitutes();
    // Qt's dialogs in the user's language; our own texts are Japanese already.
    mosaiko::InstallQtTranslations(app);
    mosaiko::TQRTest_main window;
    const auto printing = mosaiko::AttachPrintActions(window);
    window.show();
    return app.exec();
}
