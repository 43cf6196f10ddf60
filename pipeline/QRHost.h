// The hidden host of the QR code control: ScrollBox1 holds the white
// 256 x 256 panel QRBase (the host picture), which QRCode1 fills. The main
// window places it among its controls.
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
