#include "MemoView.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "ShiftJis.h"

namespace mosaiko {
namespace {

constexpr int kMargin = 2;          // space left of the text and above the first line
constexpr qint64 kSyncPeriodMs = 40;  // how often a growing view catches up

// The column of `text` whose left edge lies nearest to x.
int ColumnAt(const QFontMetrics& metrics, const QString& text, int x) {
    int lo = 0;
    int hi = static_cast<int>(text.size());
    while (lo < hi) {
        const int mid = (lo + hi + 1) / 2;
        if (metrics.horizontalAdvance(text.left(mid)) <= x) {
            lo = mid;
        } else {
            hi = mid - 1;
        }
    }
    if (lo < text.size()) {
        const int left = metrics.horizontalAdvance(text.left(lo));
        const int right = metrics.horizontalAdvance(text.left(lo + 1));
        if (x - left > right - x) ++lo;
    }
    return lo;
}

}  // namespace

TMemoView::TMemoView(QWidget* parent) : QAbstractScrollArea(parent) {
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, pal.color(QPalette::ToolTipBase));
    setPalette(pal);

    auto* copy = new QAction(QStringLiteral("コピー"), this);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    connect(copy, &QAction::triggered, this, [this] { CopySelection(); });
    auto* selectAll = new QAction(QStringLiteral("すべて選択"), this);
    selectAll->setShortcut(QKeySequence::SelectAll);
    selectAll->setShortcutContext(Qt::WidgetShortcut);
    connect(selectAll, &QAction::triggered, this, [this] { SelectAll(); });
    addActions({copy, selectAll});
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

void TMemoView::LinesAdded() {
    followEnd_ = true;
    if (!sinceSync_.isValid() || sinceSync_.elapsed() >= kSyncPeriodMs) Sync();
}

void TMemoView::Refresh() { Sync(); }

void TMemoView::Clear() {
    lines_.Clear();
    followEnd_ = false;
    Sync();
}

void TMemoView::Sync() {
    const std::size_t count = lines_.Count();
    if (count < scanned_) {
        scanned_ = widestBytes_ = 0;
        widestPixels_ = 0;
        anchor_ = cursor_ = Pos{};
        horizontalScrollBar()->setValue(0);
    }
    for (; scanned_ < count; ++scanned_) widestBytes_ = std::max(widestBytes_, lines_.Line(scanned_).size());
    UpdateScrollRanges();
    if (followEnd_) verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    followEnd_ = false;
    viewport()->update();
    sinceSync_.restart();
}

void TMemoView::UpdateScrollRanges() {
    const int visible = VisibleLineCount();
    const auto count = static_cast<qint64>(lines_.Count());
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, static_cast<int>(std::clamp<qint64>(count - visible, 0, INT_MAX)));
    vertical->setPageStep(visible);
    vertical->setSingleStep(1);

    // A Shift-JIS byte is about half an em wide: half a full-width character,
    // or one proportional half-width one. Lines seen on screen refine it.
    const QFontMetrics metrics = fontMetrics();
    const qint64 perByte = std::max(metrics.averageCharWidth(), (font().pixelSize() + 1) / 2);
    const qint64 content = std::max<qint64>(static_cast<qint64>(widestBytes_) * perByte, widestPixels_) + 2 * kMargin;
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(0, static_cast<int>(std::clamp<qint64>(content - viewport()->width(), 0, INT_MAX)));
    horizontal->setPageStep(viewport()->width());
    horizontal->setSingleStep(std::max(metrics.averageCharWidth() * 2, 1));
}

// A CSV record keeps a cell's line break as LF; the view marks it with "↵"
// (one character for one, so columns stay) to show the record on one line.
QString TMemoView::LineText(std::size_t i) const {
    return DecodeShiftJis(lines_.Line(i)).replace(QLatin1Char('\n'), QChar(0x21B5));
}

int TMemoView::LineHeight() const { return std::max(fontMetrics().lineSpacing(), 1); }

int TMemoView::FirstVisibleLine() const { return verticalScrollBar()->value(); }

int TMemoView::VisibleLineCount() const { return std::max((viewport()->height() - kMargin) / LineHeight(), 1); }

void TMemoView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Text));
    const QFontMetrics metrics = fontMetrics();
    const int x = kMargin - horizontalScrollBar()->value();
    const int height = viewport()->height();
    int widest = widestPixels_;
    int y = kMargin;
    for (auto i = static_cast<std::size_t>(FirstVisibleLine()); i < lines_.Count() && y < height;
         ++i, y += LineHeight()) {
        const QString text = LineText(i);
        painter.drawText(x, y + metrics.ascent(), text);
        if (HasSelection()) PaintSelection(painter, i, text, x, y);
        widest = std::max(widest, metrics.horizontalAdvance(text));
    }
    if (widest > widestPixels_) {
        widestPixels_ = widest;
        UpdateScrollRanges();
    }
}

void TMemoView::PaintSelection(QPainter& painter, std::size_t line, const QString& text, int x, int y) const {
    const Pos from = std::min(anchor_, cursor_);
    const Pos to = std::max(anchor_, cursor_);
    if (line < from.line || line > to.line) return;
    const int begin = (line == from.line) ? std::min<int>(from.column, text.size()) : 0;
    const int end = (line == to.line) ? std::min<int>(to.column, text.size()) : static_cast<int>(text.size());
    const QFontMetrics metrics = fontMetrics();
    const int left = x + metrics.horizontalAdvance(text.left(begin));
    int right = x + metrics.horizontalAdvance(text.left(end));
    if (line < to.line) right += metrics.horizontalAdvance(QLatin1Char(' '));  // the line end
    if (right <= left) return;
    const QRect band(left, y, right - left, LineHeight());
    painter.save();
    painter.fillRect(band, palette().color(QPalette::Highlight));
    painter.setClipRect(band);
    painter.setPen(palette().color(QPalette::HighlightedText));
    painter.drawText(x, y + metrics.ascent(), text);
    painter.restore();
}

void TMemoView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRanges();
}

void TMemoView::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) Refresh();
}

void TMemoView::keyPressEvent(QKeyEvent* event) {
    QScrollBar* vertical = verticalScrollBar();
    QScrollBar* horizontal = horizontalScrollBar();
    if (event == QKeySequence::MoveToStartOfDocument) {
        vertical->setValue(0);
    } else if (event == QKeySequence::MoveToEndOfDocument) {
        vertical->setValue(vertical->maximum());
    } else if (event == QKeySequence::MoveToStartOfLine) {
        horizontal->setValue(0);
    } else if (event == QKeySequence::MoveToEndOfLine) {
        horizontal->setValue(horizontal->maximum());
    } else {
        QAbstractScrollArea::keyPressEvent(event);  // arrows and page keys
    }
}

TMemoView::Pos TMemoView::HitTest(const QPoint& point) const {
    if (lines_.Empty()) return {};
    const qint64 row = FirstVisibleLine() + std::max((point.y() - kMargin), 0) / LineHeight();
    const auto line = static_cast<std::size_t>(std::min<qint64>(row, static_cast<qint64>(lines_.Count()) - 1));
    const int x = point.x() - kMargin + horizontalScrollBar()->value();
    return {line, ColumnAt(fontMetrics(), LineText(line), x)};
}

void TMemoView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QAbstractScrollArea::mousePressEvent(event);
    cursor_ = HitTest(event->position().toPoint());
    if (!(event->modifiers() & Qt::ShiftModifier)) anchor_ = cursor_;
    viewport()->update();
}

void TMemoView::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) return;
    const QPoint point = event->position().toPoint();
    // Dragging past an edge scrolls a line at a time.
    if (point.y() < 0) verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    if (point.y() > viewport()->height()) verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    cursor_ = HitTest(point);
    viewport()->update();
}

void TMemoView::mouseReleaseEvent(QMouseEvent* event) { event->setAccepted(event->button() == Qt::LeftButton); }

QString TMemoView::SelectedText() const {
    const Pos from = std::min(anchor_, cursor_);
    const Pos to = std::max(anchor_, cursor_);
    QString out;
    for (std::size_t i = from.line; i <= to.line && i < lines_.Count(); ++i) {
        const QString text = LineText(i);
        const int begin = (i == from.line) ? from.column : 0;
        const int end = (i == to.line) ? to.column : static_cast<int>(text.size());
        out += text.mid(begin, end - begin);
        if (i < to.line) out += QLatin1Char('\n');
    }
    return out;
}

void TMemoView::SelectAll() {
    if (lines_.Empty()) return;
    anchor_ = Pos{};
    const std::size_t last = lines_.Count() - 1;
    cursor_ = Pos{last, static_cast<int>(LineText(last).size())};
    viewport()->update();
}

void TMemoView::CopySelection() const {
    if (HasSelection()) QGuiApplication::clipboard()->setText(SelectedText());
}

}  // namespace mosaiko
