#include "MainControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolButton>

#include "MemoView.h"
#include "MessageDetails.h"
#include "Panels.h"
#include "QRHost.h"
#include "RadioGroup.h"
#include "ReportSettings.h"

namespace mosaiko {
namespace {

template <typename W>
W* Place(W* widget, const char* name, int left, int top, int width, int height) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

QToolButton* MakeSpeedButton(QWidget* parent, const char* name, const QString& caption, int left, int width) {
    auto* button = Place(new QToolButton(parent), name, left, 4, width, 23);
    button->setText(caption);
    return button;
}

QSpinBox* MakeSpinEdit(QWidget* parent, const char* name, int top, const SettingRange& range) {
    auto* spin = Place(new QSpinBox(parent), name, 704, top, 49, 24);
    spin->setRange(range.low, range.high);
    spin->setValue(range.initial);
    spin->setFont(UiFont(15));
    return spin;
}

void BuildTopRow(QWidget* window, MainControls& c) {
    c.Panel9 = MakeCaptionPanel(window, "Panel9", QStringLiteral("取込ファイル"), 4, 4, 101, 23);
    c.FilePath = Place(new QLineEdit(window), "FilePath", 108, 4, 437, 23);
    c.FilePath->setReadOnly(true);
    c.FilePath->setFont(UiFont(15));
    QPalette face = c.FilePath->palette();
    face.setColor(QPalette::Base, face.color(QPalette::Window));
    c.FilePath->setPalette(face);
    c.SpeedButton1 = MakeSpeedButton(window, "SpeedButton1", QStringLiteral("…"), 548, 33);
    c.SpeedButton2 = MakeSpeedButton(window, "SpeedButton2", QStringLiteral("ｷｬﾝｾﾙ"), 588, 57);
    c.SpeedButton3 = MakeSpeedButton(window, "SpeedButton3", QStringLiteral("クリア"), 648, 57);
    c.Panel17 = MakeCaptionPanel(window, "Panel17", QStringLiteral("グループ数"), 712, 4, 69, 23);
    c.Panel16 = MakeValuePanel(window, "Panel16", 784, 4, 73, 23);
    c.Panel14 = MakeCaptionPanel(window, "Panel14", QStringLiteral("合計行数"), 864, 4, 69, 23);
    c.Panel5 = MakeValuePanel(window, "Panel5", 936, 4, 73, 23);
}

void BuildMemo(QWidget* window, MainControls& c) {
    c.Memo1 = Place(new TMemoView(window), "Memo1", 4, 30, 1005, 535);
    c.Memo1->setFont(UiFont(15));
}

void BuildSymbolSettings(QFrame* panel, MainControls& c) {
    c.Panel12 = MakeCaptionPanel(panel, "Panel12", QStringLiteral("バージョン"), 4, 4, 101, 23);
    c.TrackBar1 = Place(new QSlider(Qt::Horizontal, panel), "TrackBar1", 108, 4, 277, 33);
    c.TrackBar1->setRange(kVersionRange.low, kVersionRange.high);
    c.TrackBar1->setPageStep(2);
    c.TrackBar1->setTickInterval(1);
    c.TrackBar1->setTickPosition(QSlider::TicksBelow);
    c.TrackBar1->setValue(kVersionRange.initial);
    c.Panel13 = MakeValuePanel(panel, "Panel13", 388, 4, 37, 23);
    c.Panel13->setText(QString::number(kVersionRange.initial));
    const QStringList sizes{QStringLiteral("標準サイズ"), QStringLiteral("2倍角サイズ"), QStringLiteral("3倍角サイズ"),
                            QStringLiteral("4倍角サイズ")};
    c.RadioGroup1 = new TRadioGroup(QStringLiteral("シンボルサイズ"), sizes, 4, panel);
    Place(c.RadioGroup1, "RadioGroup1", 4, 36, 421, 35);
    c.RadioGroup1->SetItemIndex(kSymbolSizeItemRange.initial);
    c.Panel8 = MakeCaptionPanel(panel, "Panel8", QStringLiteral("概算表示可能文字数"), 4, 74, 161, 23);
    c.Panel6 = MakeValuePanel(panel, "Panel6", 168, 74, 77, 23);
    c.Panel7 = MakeCaptionPanel(panel, "Panel7", QStringLiteral("生成結果"), 252, 74, 93, 23);
    c.Panel4 = MakeValuePanel(panel, "Panel4", 348, 74, 77, 23);
    c.Panel4->setFont(UiFont(16));
    QPalette red = c.Panel4->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    c.Panel4->setPalette(red);
}

void BuildActionsAndReport(QFrame* panel, MainControls& c) {
    c.Button1 = Place(new QPushButton(QStringLiteral("生成チェック"), panel), "Button1", 428, 4, 149, 45);
    c.Button1->setFont(UiFont(19));
    c.Button3 = Place(new QPushButton(QStringLiteral("帳票印刷"), panel), "Button3", 428, 52, 149, 45);
    c.Button3->setFont(UiFont(19));
    c.Panel15 = MakeCaptionPanel(panel, "Panel15", QStringLiteral("帳票タイトル"), 588, 4, 81, 23);
    c.Edit5 = Place(new QLineEdit(QString::fromUtf8(kDefaultReportTitle), panel), "Edit5", 672, 4, 329, 23);
    c.Edit5->setFont(UiFont(15));
    c.Panel3 = MakeCaptionPanel(panel, "Panel3", QStringLiteral("頁内グループ数"), 588, 30, 113, 23);
    c.SpinEdit2 = MakeSpinEdit(panel, "SpinEdit2", 30, kGroupsPerPageRange);
    c.Panel1 = MakeCaptionPanel(panel, "Panel1", QStringLiteral("帳票フォントサイズ"), 588, 56, 113, 23);
    c.SpinEdit1 = MakeSpinEdit(panel, "SpinEdit1", 56, kFontSizeRange);
}

// The encoding and reading choices, right of the spin edits where the design
// leaves Panel2 empty; every control of the design keeps its place.
void BuildChoices(QFrame* panel, MainControls& c) {
    c.Panel18 = MakeCaptionPanel(panel, "Panel18", QStringLiteral("誤り訂正レベル"), 760, 30, 101, 23);
    c.ComboBox1 = Place(new QComboBox(panel), "ComboBox1", 864, 30, 137, 23);
    c.ComboBox1->addItems({QStringLiteral("L（約7%復元）"), QStringLiteral("M（約15%復元）"),
                           QStringLiteral("Q（約25%復元）"), QStringLiteral("H（約30%復元）")});
    c.ComboBox1->setCurrentIndex(kLevelRange.initial);
    c.ComboBox1->setFont(UiFont(13));
    c.CheckBox1 = Place(new QCheckBox(QStringLiteral("最小符号化"), panel), "CheckBox1", 760, 56, 113, 23);
    c.CheckBox1->setToolTip(QStringLiteral("文字の種類ごとに最も短い符号化を選び、より多くの文字を収めます"));
    c.CheckBox2 = Place(new QCheckBox(QStringLiteral("CSV読込"), panel), "CheckBox2", 876, 56, 125, 23);
    c.CheckBox2->setToolTip(QStringLiteral("表計算ソフトのCSVとして読み込みます（引用符の中のカンマや改行もセルの一部）"));
}

}  // namespace

void BuildMainControls(QWidget* window, MainControls& c) {
    BuildTopRow(window, c);
    BuildMemo(window, c);
    c.Panel2 = Place(new QFrame(window), "Panel2", 4, 568, 1005, 101);
    c.Panel2->setFrameStyle(QFrame::Panel | QFrame::Raised);
    BuildSymbolSettings(c.Panel2, c);
    BuildActionsAndReport(c.Panel2, c);
    BuildChoices(c.Panel2, c);
    c.StatusBar1 = Place(new QStatusBar(window), "StatusBar1", 0, 693 - 21, 1016, 21);
    c.StatusBar1->setSizeGripEnabled(false);
    c.StatusDetails = new MessageDetails(c.StatusBar1);
    auto* host = new TQRHost(window);
    c.ScrollBox1 = host;
    c.QRBase = host->QRBase;
    c.QRCode1 = host->QRCode1;
}

}  // namespace mosaiko
