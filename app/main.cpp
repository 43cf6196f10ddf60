// Mosaiko: list reports with QR codes. Starts the main window and runs the
// event loop until it is closed.
#include <QApplication>

#include "Font.h"
#include "PrintActions.h"
#include "QRSample_main.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mosaiko"));
    QApplication::setApplicationDisplayName(QStringLiteral("Mosaiko"));
    mosaiko::RegisterFontSubstitutes();
    mosaiko::TQRTest_main window;
    const auto printing = mosaiko::AttachPrintActions(window);
    window.show();
    return app.exec();
}
