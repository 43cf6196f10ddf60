#include "Panels.h"

#include <QLabel>

#include "Font.h"

namespace mosaiko {
namespace {

QLabel* MakePanel(QWidget* parent, const char* name, int left, int top, int width, int height) {
    auto* panel = new QLabel(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setAlignment(Qt::AlignCenter);
    panel->setGeometry(left, top, width, height);
    return panel;
}

}  // namespace

QFont UiFont(int pixels) {
    TFont font;
    font.SetHeight(pixels);
    return font.ToQFont();
}

QLabel* MakeCaptionPanel(QWidget* parent, const char* name, const QString& caption, int left, int top, int width,
                         int height) {
    QLabel* panel = MakePanel(parent, name, left, top, width, height);
    panel->setText(caption);
    panel->setFont(UiFont(13));
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Active, QPalette::HighlightedText));
    panel->setPalette(palette);
    panel->setAutoFillBackground(true);
    return panel;
}

QLabel* MakeValuePanel(QWidget* parent, const char* name, int left, int top, int width, int height) {
    return MakePanel(parent, name, left, top, width, height);
}

}  // namespace mosaiko
