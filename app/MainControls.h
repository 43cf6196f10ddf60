// The controls of the main window by their design names, and the function
// that creates them with their bounds, captions, ranges and defaults.
#pragma once

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QSpinBox;
class QStatusBar;
class QToolButton;
class QWidget;

namespace mosaiko {

class MessageDetails;
class TMemoView;
class TRadioGroup;
class TQRCode;

struct MainControls {
    // Top row.
    QLabel* Panel9 = nullptr;
    QLineEdit* FilePath = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    QLabel* Panel17 = nullptr;
    QLabel* Panel16 = nullptr;
    QLabel* Panel14 = nullptr;
    QLabel* Panel5 = nullptr;

    TMemoView* Memo1 = nullptr;

    // Settings and actions.
    QFrame* Panel2 = nullptr;
    QLabel* Panel12 = nullptr;
    QSlider* TrackBar1 = nullptr;
    QLabel* Panel13 = nullptr;
    TRadioGroup* RadioGroup1 = nullptr;
    QLabel* Panel8 = nullptr;
    QLabel* Panel6 = nullptr;
    QLabel* Panel7 = nullptr;
    QLabel* Panel4 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button3 = nullptr;
    QLabel* Panel15 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QLabel* Panel3 = nullptr;
    QSpinBox* SpinEdit2 = nullptr;
    QLabel* Panel1 = nullptr;
    QSpinBox* SpinEdit1 = nullptr;
    // Choices beyond the design, in the free space right of the spin edits.
    QLabel* Panel18 = nullptr;
    QComboBox* ComboBox1 = nullptr;  // error-correction level, items L, M, Q, H
    QCheckBox* CheckBox1 = nullptr;  // the smallest encoding
    QCheckBox* CheckBox2 = nullptr;  // CSV reading: records as a spreadsheet writes them

    QStatusBar* StatusBar1 = nullptr;
    // The status bar's message in full, and the action it may offer.
    MessageDetails* StatusDetails = nullptr;

    // The hidden host of the QR code control.
    QFrame* ScrollBox1 = nullptr;
    QFrame* QRBase = nullptr;
    TQRCode* QRCode1 = nullptr;
};

// Creates every control as a child of `window` (client area 1016 x 693).
void BuildMainControls(QWidget* window, MainControls& controls);

}  // namespace mosaiko
