// Memo1: the read-only view of the imported lines.
//
// The lines stay Shift-JIS bytes in a MemoLines store; only the lines on
// screen are decoded, when they are painted, so a million lines cost no more
// to show than forty. Both scroll bars, keyboard scrolling, mouse selection,
// copy and select-all.
#pragma once

#include <QAbstractScrollArea>
#include <QElapsedTimer>
#include <cstddef>

#include "MemoLines.h"

namespace mosaiko {

class TMemoView : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit TMemoView(QWidget* parent = nullptr);

    // The lines; after changing them call LinesAdded() or Refresh().
    MemoLines& Lines() { return lines_; }
    const MemoLines& Lines() const { return lines_; }
    // Cheap enough to call after every appended line: the scroll bars and
    // the picture follow a few times a second, and the view keeps to the end
    // (up to the next Refresh), as a memo does when lines are added.
    void LinesAdded();
    // Brings the scroll bars and the picture up to date at once.
    void Refresh();
    // Empties the lines and the view.
    void Clear();

    // Line i as shown on screen.
    QString LineText(std::size_t i) const;
    int FirstVisibleLine() const;
    int VisibleLineCount() const;

    bool HasSelection() const { return anchor_ != cursor_; }
    QString SelectedText() const;
    void SelectAll();
    void CopySelection() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Pos {
        std::size_t line = 0;
        int column = 0;  // in the decoded text of the line
        auto operator<=>(const Pos&) const = default;
    };

    void Sync();
    void UpdateScrollRanges();
    int LineHeight() const;
    Pos HitTest(const QPoint& point) const;
    void PaintSelection(QPainter& painter, std::size_t line, const QString& text, int x, int y) const;

    MemoLines lines_;
    std::size_t scanned_ = 0;      // lines already measured for the width
    std::size_t widestBytes_ = 0;  // longest line in bytes
    int widestPixels_ = 0;         // widest line measured while painting
    QElapsedTimer sinceSync_;
    bool followEnd_ = false;  // lines were added since the last Sync
    Pos anchor_;
    Pos cursor_;
};

}  // namespace mosaiko
