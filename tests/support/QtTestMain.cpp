// One main for every test program of the Qt side: the tests run real widgets
// in one QApplication, on the offscreen platform unless another is asked
// for, with the Windows Japanese font names mapped to the IPA fonts. Listing
// the tests (done at build time) works without an application.
#include <gtest/gtest.h>

#include <QApplication>

#include "Font.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Closing a window in a test must not end anything.
    QApplication::setQuitOnLastWindowClosed(false);
    mosaiko::RegisterFontSubstitutes();
    return RUN_ALL_TESTS();
}
