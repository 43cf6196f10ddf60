// The hidden host of the QR code control: ScrollBox1 holds the white
// 256 x 256 panel QRBase, which QRCode1 fills. Its size is the limit every
// symbol is checked against.
#pragma once

class QWidget;

namespace mosaiko {

struct MainControls;

void BuildQRHost(QWidget* window, MainControls& controls);

}  // namespace mosaiko
