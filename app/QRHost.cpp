#include "QRHost.h"

#include <QFrame>

#include "MainControls.h"
#include "QRCode3.h"

namespace mosaiko {
namespace {

// The design settings; every other property keeps the control's default.
void ApplyDesignSettings(TQRCode& code) {
    code.SetSymbolEnabled(false);
    code.SetSymbolLeft(0);
    code.SetSymbolTop(0);
    code.SetSymbolSpaceUp(0);
    code.SetSymbolSpaceDown(0);
    code.SetSymbolSpaceLeft(0);
    code.SetSymbolSpaceRight(0);
    code.SetMatch(false);
    code.SetTransparent(false);
    code.SetCommentUpLoc(locLeft);
    code.SetCommentDownLoc(locLeft);
    TFont font;
    font.SetHeight(12);
    code.SetComFont(&font);
}

}  // namespace

void BuildQRHost(QWidget* window, MainControls& c) {
    c.ScrollBox1 = new QFrame(window);
    c.ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    c.ScrollBox1->setGeometry(4, 396, 273, 273);
    c.ScrollBox1->hide();

    c.QRBase = new QFrame(c.ScrollBox1);
    c.QRBase->setObjectName(QStringLiteral("QRBase"));
    c.QRBase->setGeometry(5, 5, 256, 256);
    c.QRBase->setFrameStyle(QFrame::NoFrame);
    QPalette white = c.QRBase->palette();
    white.setColor(QPalette::Window, Qt::white);
    c.QRBase->setPalette(white);
    c.QRBase->setAutoFillBackground(true);

    c.QRCode1 = new TQRCode(c.QRBase);
    c.QRCode1->setObjectName(QStringLiteral("QRCode1"));
    c.QRCode1->setGeometry(0, 0, 256, 256);
    ApplyDesignSettings(*c.QRCode1);
}

}  // namespace mosaiko
