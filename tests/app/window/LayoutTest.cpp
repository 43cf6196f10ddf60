// The controls of the main window by their design names: bounds, captions,
// ranges, fonts, colours, tab order and the hidden QR code host.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

#include "MemoView.h"
#include "QRCode3.h"
#include "RadioGroup.h"
#include "WindowTestSupport.h"

namespace mosaiko::test {
namespace {

struct Placed {
    const char* name;
    QRect bounds;  // relative to the control's parent
    QString caption;
};

QString Caption(const QWidget* w) {
    if (auto* label = qobject_cast<const QLabel*>(w)) return label->text();
    if (auto* edit = qobject_cast<const QLineEdit*>(w)) return edit->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(w)) return button->text();
    return {};
}

using LayoutTest = WindowTest;

TEST_F(LayoutTest, ControlsStandWhereTheDesignPutsThem) {
    auto window = MakeWindow();
    EXPECT_EQ(window->windowTitle(), "Mosaiko");
    EXPECT_EQ(window->size(), QSize(1016, 693));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_EQ(window->font().pixelSize(), 13);
    EXPECT_FALSE(window->windowIcon().isNull());
    const Placed placed[] = {
        {"Panel9", {4, 4, 101, 23}, QStringLiteral("取込ファイル")},
        {"FilePath", {108, 4, 437, 23}, ""},
        {"SpeedButton1", {548, 4, 33, 23}, QStringLiteral("…")},
        {"SpeedButton2", {588, 4, 57, 23}, QStringLiteral("ｷｬﾝｾﾙ")},
        {"SpeedButton3", {648, 4, 57, 23}, QStringLiteral("クリア")},
        {"Panel17", {712, 4, 69, 23}, QStringLiteral("グループ数")},
        {"Panel16", {784, 4, 73, 23}, ""},
        {"Panel14", {864, 4, 69, 23}, QStringLiteral("合計行数")},
        {"Panel5", {936, 4, 73, 23}, ""},
        {"Memo1", {4, 30, 1005, 535}, ""},
        {"Panel2", {4, 568, 1005, 101}, ""},
        {"Panel12", {4, 4, 101, 23}, QStringLiteral("バージョン")},
        {"TrackBar1", {108, 4, 277, 33}, ""},
        {"Panel13", {388, 4, 37, 23}, "20"},
        {"RadioGroup1", {4, 36, 421, 35}, ""},
        {"Panel8", {4, 74, 161, 23}, QStringLiteral("概算表示可能文字数")},
        {"Panel6", {168, 74, 77, 23}, ""},
        {"Panel7", {252, 74, 93, 23}, QStringLiteral("生成結果")},
        {"Panel4", {348, 74, 77, 23}, ""},
        {"Button1", {428, 4, 149, 45}, QStringLiteral("生成チェック")},
        {"Button3", {428, 52, 149, 45}, QStringLiteral("帳票印刷")},
        {"Panel15", {588, 4, 81, 23}, QStringLiteral("帳票タイトル")},
        {"Edit5", {672, 4, 329, 23}, QStringLiteral("ＱＲコードリスト")},
        {"Panel3", {588, 30, 113, 23}, QStringLiteral("頁内グループ数")},
        {"SpinEdit2", {704, 30, 49, 24}, ""},
        {"Panel1", {588, 56, 113, 23}, QStringLiteral("帳票フォントサイズ")},
        {"SpinEdit1", {704, 56, 49, 24}, ""},
        {"StatusBar1", {0, 672, 1016, 21}, ""},
        {"ScrollBox1", {4, 396, 273, 273}, ""},
        {"QRBase", {5, 5, 256, 256}, ""},
        {"QRCode1", {0, 0, 256, 256}, ""},
    };
    for (const Placed& p : placed) {
        SCOPED_TRACE(p.name);
        const auto* w = window->findChild<QWidget*>(QString::fromLatin1(p.name));
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->geometry(), p.bounds);
        EXPECT_EQ(Caption(w), p.caption);
    }
    for (const char* inPanel2 : {"Panel12", "TrackBar1", "RadioGroup1", "Button1", "Edit5", "SpinEdit1"})
        EXPECT_EQ(window->findChild<QWidget*>(QString::fromLatin1(inPanel2))->parent(), window->Panel2);
}

TEST_F(LayoutTest, RangesDefaultsAndFonts) {
    auto window = MakeWindow();
    EXPECT_EQ(window->TrackBar1->minimum(), 1);
    EXPECT_EQ(window->TrackBar1->maximum(), 40);
    EXPECT_EQ(window->TrackBar1->tickPosition(), QSlider::TicksBelow);
    EXPECT_EQ(window->TrackBar1->tickInterval(), 1);
    EXPECT_EQ(window->SpinEdit2->minimum(), 1);
    EXPECT_EQ(window->SpinEdit2->maximum(), 20);
    EXPECT_EQ(window->SpinEdit1->minimum(), 6);
    EXPECT_EQ(window->SpinEdit1->maximum(), 60);
    EXPECT_EQ(window->RadioGroup1->title(), QStringLiteral("シンボルサイズ"));
    const QString items[] = {QStringLiteral("標準サイズ"), QStringLiteral("2倍角サイズ"), QStringLiteral("3倍角サイズ"),
                             QStringLiteral("4倍角サイズ")};
    ASSERT_EQ(window->RadioGroup1->Count(), 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(window->RadioGroup1->Button(i)->text(), items[i]);
    // Four columns side by side.
    EXPECT_LT(window->RadioGroup1->Button(0)->x(), window->RadioGroup1->Button(1)->x());
    EXPECT_EQ(window->RadioGroup1->Button(0)->y(), window->RadioGroup1->Button(3)->y());

    EXPECT_EQ(window->FilePath->font().pixelSize(), 15);
    EXPECT_EQ(window->Edit5->font().pixelSize(), 15);
    EXPECT_EQ(window->SpinEdit1->font().pixelSize(), 15);
    EXPECT_EQ(window->Memo1->font().pixelSize(), 15);
    EXPECT_EQ(window->Memo1->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(window->Button1->font().pixelSize(), 19);
    EXPECT_EQ(window->Panel4->font().pixelSize(), 16);
    EXPECT_EQ(window->Panel4->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(window->Panel9->font().pixelSize(), 13);
}

TEST_F(LayoutTest, PanelsViewAndEditLookTheirPart) {
    auto window = MakeWindow();
    const QPalette app = QApplication::palette();
    EXPECT_EQ(window->Panel9->palette().color(QPalette::Window), app.color(QPalette::Active, QPalette::Highlight));
    EXPECT_EQ(window->Panel9->palette().color(QPalette::WindowText),
              app.color(QPalette::Active, QPalette::HighlightedText));
    EXPECT_TRUE(window->Panel9->autoFillBackground());
    EXPECT_EQ(window->Panel9->frameShadow(), QFrame::Sunken);
    EXPECT_EQ(window->Panel5->frameShadow(), QFrame::Sunken);
    EXPECT_FALSE(window->Panel5->autoFillBackground());

    EXPECT_TRUE(window->FilePath->isReadOnly());
    EXPECT_EQ(window->FilePath->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(window->SpeedButton1->focusPolicy(), Qt::NoFocus);

    EXPECT_EQ(window->Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(window->Memo1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(window->Memo1->palette().color(QPalette::Base), app.color(QPalette::ToolTipBase));
    EXPECT_FALSE(window->StatusBar1->isSizeGripEnabled());
    EXPECT_TRUE(window->StatusBar1->currentMessage().isEmpty());
}

TEST_F(LayoutTest, HiddenQrHostHoldsTheControlWithItsDesignSettings) {
    auto window = MakeWindow();
    window->show();
    EXPECT_FALSE(window->ScrollBox1->isVisible());
    EXPECT_EQ(window->QRBase->size(), QSize(256, 256));
    EXPECT_EQ(window->QRBase->palette().color(QPalette::Window), QColor(Qt::white));
    ASSERT_NE(window->QRCode1, nullptr);
    const TQRCode& code = *window->QRCode1;
    EXPECT_EQ(code.parent(), window->QRBase);
    EXPECT_EQ(code.size(), QSize(256, 256));
    EXPECT_FALSE(code.SymbolEnabled());
    EXPECT_EQ(code.SymbolLeft() + code.SymbolTop(), 0);
    EXPECT_EQ(code.SymbolSpaceUp() + code.SymbolSpaceDown() + code.SymbolSpaceLeft() + code.SymbolSpaceRight(), 0);
    EXPECT_FALSE(code.Match());
    EXPECT_FALSE(code.Transparent());
    EXPECT_EQ(code.CommentUpLoc(), locLeft);
    EXPECT_EQ(code.CommentDownLoc(), locLeft);
    EXPECT_EQ(code.ComFont().Name(), QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(code.ComFont().Height(), 12);
    // Left at the control's defaults.
    const TQRCode fresh;
    EXPECT_EQ(code.Version(), fresh.Version());
    EXPECT_EQ(code.Eclevel(), fresh.Eclevel());
    EXPECT_EQ(code.Mode(), fresh.Mode());
    EXPECT_EQ(code.Count(), fresh.Count());
    EXPECT_EQ(code.Angle(), fresh.Angle());
}

TEST_F(LayoutTest, ShowingTheWindowDropsAnyEarlierSymbolAndFocusesTheMemo) {
    auto window = MakeWindow();
    TQRCode& code = *window->QRCode1;
    code.SetCode("HELLO");
    code.SetSymbolEnabled(true);
    ASSERT_TRUE(code.SymbolDisped());
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    EXPECT_FALSE(code.SymbolDisped());
    EXPECT_EQ(window->focusWidget(), window->Memo1);
}

TEST_F(LayoutTest, TrackBarShowsItsPositionInPanel13) {
    auto window = MakeWindow();
    window->TrackBar1->setValue(33);
    EXPECT_EQ(window->Panel13->text(), "33");
    QTest::keyClick(window->TrackBar1, Qt::Key_End);
    EXPECT_EQ(window->Panel13->text(), "40");
    EXPECT_EQ(window->SymbolVersion(), 40);
}

// The widget that stands for a focused child (a spin box's inner edit).
QWidget* Named(QWidget* w) {
    while (w && w->objectName().isEmpty()) w = w->parentWidget();
    return w;
}

TEST_F(LayoutTest, TabWalksThePanelInDesignOrder) {
    auto window = MakeWindow();
    window->show();
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->Memo1->setFocus();
    QStringList order;
    for (int i = 0; i < 14; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focused = Named(QApplication::focusWidget());
        const QString name = focused ? focused->objectName() : QString();
        if (order.isEmpty() || order.back() != name) order << name;
    }
    const QStringList expected{"TrackBar1", "RadioGroup1", "Button1", "Button3",
                               "Edit5",     "SpinEdit2",   "SpinEdit1", "Memo1"};
    EXPECT_EQ(order.mid(0, expected.size()), expected);
}

}  // namespace
}  // namespace mosaiko::test
