// The hidden host of the QR code control: ScrollBox1 holds the white
// 256 x 256 panel QRBase, which QRCode1 fills. Its size is the limit every
// symbol is checked against. The main window places it among its controls;
// mosaiko-report makes one of its own, never shown.
#pragma once

#include <QFrame>

namespace mosaiko {

class TQRCode;

class TQRHost : public QFrame {
public:
    explicit TQRHost(QWidget* parent = nullptr);

    QFrame* QRBase = nullptr;
    TQRCode* QRCode1 = nullptr;
};

}  // namespace mosaiko
