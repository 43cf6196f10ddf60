// The clipboard watch on a real X server, driven from outside: the probe
// switches ClipWatch on, prints "ready" once the notification of joining has
// been swallowed, and ends after the first text another program puts on the
// clipboard has become Code: exit 0 when it is the expected text (UTF-8,
// argument 2), came through the watch and the painted symbol decodes to it;
// 2 when not, 1 after the timeout (milliseconds, argument 1).
// clipwatch-xvfb.sh runs it under xvfb-run with xclip.
#include <QApplication>
#include <QTimer>
#include <cstdlib>
#include <iostream>
#include <string>

#include "QRCode3.h"
#include "QrDecodeQt.h"

using namespace mosaiko;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    RegisterFontSubstitutes();
    const int timeout = argc > 1 ? std::atoi(argv[1]) : 10000;
    const std::string expected = EncodeShiftJis(QString::fromUtf8(argc > 2 ? argv[2] : ""));

    TQRCode q;
    q.SetWidth(300);
    q.SetHeight(300);
    q.SetVersion(5);
    q.SetPxmag(3);
    q.SetOnChangedCode([&](TQRCode* sender, bool watch) {
        const auto decoded = test::DecodeImage(sender->Picture().Bitmap().ToQImage());
        const bool same = decoded && decoded->bytes == sender->Code();
        const bool wanted = sender->Code() == expected;
        std::cout << "code \"" << DecodeShiftJis(sender->Code()).toStdString() << "\" watch=" << watch
                  << " decoded=" << (same ? "same" : "different") << (wanted ? "" : " (not the expected text)")
                  << std::endl;
        app.exit(watch && same && wanted ? 0 : 2);
    });
    q.SetClipWatch(true);
    // Queued after the notification of joining, so it comes once that is handled.
    QMetaObject::invokeMethod(&app, [] { std::cout << "ready" << std::endl; }, Qt::QueuedConnection);
    QTimer::singleShot(timeout, &app, [&] {
        std::cout << "timeout; Code \"" << DecodeShiftJis(q.Code()).toStdString() << "\"" << std::endl;
        app.exit(1);
    });
    return app.exec();
}
