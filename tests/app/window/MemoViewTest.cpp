// The read-only view on its own: scrolling by keys, scroll ranges that
// follow the lines, painting, mouse selection and copy.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QTest>

#include "MemoView.h"
#include "Panels.h"
#include "ShiftJis.h"

namespace mosaiko {
namespace {

class MemoViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        view.setFont(UiFont(15));
        view.resize(400, 200);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    void Fill(int count) {
        for (int i = 0; i < count; ++i) view.Lines().Append("line " + std::to_string(i));
        view.Refresh();
    }
    // Point inside line `row` of the screen, `column` characters in.
    QPoint At(int row, const QString& text, int column) const {
        const QFontMetrics m = view.fontMetrics();
        return {2 + m.horizontalAdvance(text.left(column)) + 1, 2 + row * m.lineSpacing() + m.lineSpacing() / 2};
    }

    TMemoView view;
};

TEST_F(MemoViewTest, ScrollRangeCoversTheLinesAndKeysMoveThroughThem) {
    Fill(1000);
    QScrollBar* bar = view.verticalScrollBar();
    const int visible = view.VisibleLineCount();
    EXPECT_GT(visible, 3);
    EXPECT_EQ(bar->maximum(), 1000 - visible);
    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_EQ(view.FirstVisibleLine(), 1);
    QTest::keyClick(&view, Qt::Key_PageDown);
    EXPECT_EQ(view.FirstVisibleLine(), 1 + visible);
    QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(view.FirstVisibleLine(), 1000 - visible);
    QTest::keyClick(&view, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(view.FirstVisibleLine(), 0);

    // Lines added one at a time are followed to the end.
    for (int i = 0; i < 500; ++i) {
        view.Lines().Append("x");
        view.LinesAdded();
    }
    view.Refresh();
    EXPECT_EQ(view.FirstVisibleLine(), 1500 - visible);
}

TEST_F(MemoViewTest, LongLinesGetAHorizontalRangeAndClearResetsEverything) {
    view.Lines().Append(std::string(400, 'W'));
    view.Refresh();
    QScrollBar* bar = view.horizontalScrollBar();
    EXPECT_GT(bar->maximum(), 400 * view.fontMetrics().averageCharWidth() - view.viewport()->width() - 10);
    QTest::keyClick(&view, Qt::Key_End);
    EXPECT_EQ(bar->value(), bar->maximum());
    view.Clear();
    EXPECT_EQ(bar->maximum(), 0);
    EXPECT_EQ(view.verticalScrollBar()->maximum(), 0);
    EXPECT_TRUE(view.Lines().Empty());
}

TEST_F(MemoViewTest, PaintsTheVisibleLinesInTheTextColour) {
    Fill(3);
    const QImage shot = view.viewport()->grab().toImage();
    const QColor background = view.palette().color(QPalette::Base);
    int inked = 0;
    for (int y = 0; y < view.fontMetrics().lineSpacing() * 3; ++y)
        for (int x = 0; x < 60; ++x) inked += shot.pixelColor(x, y) != background;
    EXPECT_GT(inked, 20);
    int below = 0;
    for (int y = view.fontMetrics().lineSpacing() * 3 + 4; y < shot.height(); ++y)
        for (int x = 0; x < 60; ++x) below += shot.pixelColor(x, y) != background;
    EXPECT_EQ(below, 0);
}

TEST_F(MemoViewTest, DragSelectsAcrossLinesAndCopyGivesTheDecodedText) {
    view.Lines().Append(EncodeShiftJis(QStringLiteral("1,東京タワー")));
    view.Lines().Append("2,Osaka");
    view.Lines().Append("3,Nagoya");
    view.Refresh();
    const QString first = QStringLiteral("1,東京タワー");
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, At(0, first, 2));
    QTest::mouseMove(view.viewport(), At(1, QStringLiteral("2,Osaka"), 4));
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, At(1, QStringLiteral("2,Osaka"), 4));
    EXPECT_EQ(view.SelectedText(), QStringLiteral("東京タワー\n2,Os"));
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("東京タワー\n2,Os"));

    QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(view.SelectedText(), first + QStringLiteral("\n2,Osaka\n3,Nagoya"));

    // Shift-click extends from the anchor.
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, At(2, QStringLiteral("3,Nagoya"), 1));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::ShiftModifier, At(1, QStringLiteral("2,Osaka"), 2));
    EXPECT_EQ(view.SelectedText(), QStringLiteral("Osaka\n3"));
}

}  // namespace
}  // namespace mosaiko
