// The main window's controls by their design names, its tab order, the
// track bar read-out and the hidden QR code host.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

#include "MemoView.h"
#include "QRCode3.h"
#include "RadioGroup.h"
#include "WindowTestSupport.h"

namespace mosaiko::test {
namespace {

using LayoutTest = WindowTest;

// Later code finds the controls by their design names.
// The window opens at its design size and can be resized.
TEST_F(LayoutTest, DesignSizedWindowWithEveryDesignName) {
    auto window = MakeWindow();
    EXPECT_EQ(window->windowTitle(), "Mosaiko");
    EXPECT_EQ(window->size(), QSize(1016, 693));
    EXPECT_NE(window->minimumSize(), window->maximumSize());
    for (const char* name :
         {"Panel9", "FilePath", "SpeedButton1", "SpeedButton2", "SpeedButton3", "Panel17", "Panel16", "Panel14",
          "Panel5", "Memo1", "Panel2", "Panel12", "TrackBar1", "Panel13", "RadioGroup1", "Panel8", "Panel6",
          "Panel7", "Panel4", "Button1", "Button3", "Panel15", "Edit5", "Panel3", "SpinEdit2", "Panel1",
          "SpinEdit1", "StatusBar1", "ScrollBox1", "QRBase", "QRCode1"})
        EXPECT_NE(window->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(window->QRBase->geometry(), QRect(5, 5, 256, 256));
    EXPECT_EQ(window->Panel2->geometry(), QRect(4, 568, 1005, 101));
    EXPECT_EQ(window->Button3->geometry(), QRect(428, 52, 149, 45));
}

// The symbol sizes sit in one row of equal cells below the group's title
// line, inside its frame, also after the font changes.
TEST_F(LayoutTest, SymbolSizesSitBelowTheTitleInEqualCells) {
    auto window = MakeWindow();
    window->show();
    TRadioGroup& group = *window->RadioGroup1;
    for (int pointSize : {0, 14}) {
        if (pointSize > 0) {
            QFont font = group.font();
            font.setPointSize(pointSize);
            group.setFont(font);
        }
        QApplication::processEvents();
        const int title = group.fontMetrics().height();
        ASSERT_EQ(group.Count(), 4);
        for (int i = 0; i < group.Count(); ++i) {
            const QRect cell = group.Button(i)->geometry();
            EXPECT_GE(cell.top(), title) << i;
            EXPECT_LE(cell.bottom(), group.height() - 1) << i;
            EXPECT_GT(cell.height(), 0) << i;
            EXPECT_NEAR(cell.width(), group.Button(0)->width(), 1) << i;
            if (i > 0) {
                EXPECT_EQ(cell.left(), group.Button(i - 1)->geometry().right() + 1) << i;
            }
        }
    }
}

// The hidden control starts switched off and showing the window drops any
// symbol it holds; the keyboard starts in the memo.
TEST_F(LayoutTest, ShowingTheWindowClearsTheHiddenSymbolAndFocusesTheMemo) {
    auto window = MakeWindow();
    TQRCode& code = *window->QRCode1;
    EXPECT_EQ(code.parent(), window->QRBase);
    EXPECT_EQ(code.size(), QSize(256, 256));
    EXPECT_FALSE(code.SymbolEnabled());
    EXPECT_EQ(code.ComFont().Height(), 12);
    code.SetCode("HELLO");
    code.SetSymbolEnabled(true);
    ASSERT_TRUE(code.SymbolDisped());
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    EXPECT_FALSE(window->ScrollBox1->isVisible());
    EXPECT_FALSE(code.SymbolDisped());
    EXPECT_EQ(window->focusWidget(), window->Memo1);
}

TEST_F(LayoutTest, TrackBarShowsItsPositionInPanel13) {
    auto window = MakeWindow();
    window->TrackBar1->setValue(33);
    EXPECT_EQ(window->Panel13->text(), "33");
    QTest::keyClick(window->TrackBar1, Qt::Key_End);
    EXPECT_EQ(window->Panel13->text(), "40");
    EXPECT_EQ(window->Settings().version, 40);
}

// The widget that stands for a focused child (a spin box's inner edit).
QWidget* Named(QWidget* w) {
    while (w && w->objectName().isEmpty()) w = w->parentWidget();
    return w;
}

TEST_F(LayoutTest, TabWalksThePanelInDesignOrderAndReachesEveryControl) {
    auto window = MakeWindow();
    window->show();
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->Memo1->setFocus();
    QStringList order;
    for (int i = 0; i < 24; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focused = Named(QApplication::focusWidget());
        const QString name = focused ? focused->objectName() : QString();
        if (order.isEmpty() || order.back() != name) order << name;
    }
    // The design's order in the panel, then the further choices and the top row.
    const QStringList expected{"TrackBar1",    "RadioGroup1",  "Button1",      "Button3",   "Edit5",
                               "SpinEdit2",    "SpinEdit1",    "ComboBox1",    "CheckBox1", "CheckBox2",
                               "FilePath",     "SpeedButton1", "SpeedButton2", "SpeedButton3", "Memo1"};
    EXPECT_EQ(order.mid(0, expected.size()), expected);
}

}  // namespace
}  // namespace mosaiko::test
