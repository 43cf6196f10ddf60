#include "BenchApp.h"

#include <QApplication>

#include "Font.h"

namespace mosaiko::bench {

// Never freed: Qt's own clean-up at exit must not run after it is gone.
QApplication& BenchApplication() {
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "mosaiko-bench";
        static char* argv[] = {name, nullptr};
        auto* created = new QApplication(argc, argv);
        RegisterFontSubstitutes();
        return created;
    }();
    return *app;
}

}  // namespace mosaiko::bench
