// Small building blocks of the main window: the Japanese UI font at a pixel
// size, and the two kinds of panels used as labels and read-outs.
#pragma once

#include <QFont>
#include <QString>

class QLabel;
class QWidget;

namespace mosaiko {

// "ＭＳ Ｐゴシック" at `pixels` (shown through the IPA substitutes).
QFont UiFont(int pixels);

// Lowered bevel, selection colours (the active-caption stand-ins), 13-pixel text.
QLabel* MakeCaptionPanel(QWidget* parent, const char* name, const QString& caption, int left, int top, int width,
                         int height);

// Lowered bevel, default colours; the program sets its text.
QLabel* MakeValuePanel(QWidget* parent, const char* name, int left, int top, int width, int height);

}  // namespace mosaiko
