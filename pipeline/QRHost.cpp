#include "QRHost.h"

#include "GenerationCheck.h"
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

TQRHost::TQRHost(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("ScrollBox1"));
    setGeometry(4, 396, 273, 273);
    hide();

    QRBase = new QFrame(this);
    QRBase->setObjectName(QStringLiteral("QRBase"));
    QRBase->setGeometry(5, 5, kHostPictureSide, kHostPictureSide);
    QRBase->setFrameStyle(QFrame::NoFrame);
    QPalette white = QRBase->palette();
    white.setColor(QPalette::Window, Qt::white);
    QRBase->setPalette(white);
    QRBase->setAutoFillBackground(true);

    QRCode1 = new TQRCode(QRBase);
    QRCode1->setObjectName(QStringLiteral("QRCode1"));
    QRCode1->setGeometry(0, 0, kHostPictureSide, kHostPictureSide);
    ApplyDesignSettings(*QRCode1);
}

}  // namespace mosaiko
