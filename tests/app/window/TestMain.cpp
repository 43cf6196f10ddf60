// The window tests run real widgets in one QApplication on the offscreen
// platform, with the Windows Japanese font names mapped to the IPA fonts.
#include <gtest/gtest.h>

#include <QApplication>

#include "Font.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Closing a window in a test must not end anything.
    QApplication::setQuitOnLastWindowClosed(false);
    mosaiko::RegisterFontSubstitutes();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
