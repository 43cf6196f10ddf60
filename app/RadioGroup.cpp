#include "RadioGroup.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QRadioButton>
#include <algorithm>

namespace mosaiko {

namespace {
// Room beside and below the buttons, inside the frame.
constexpr int kLeftMargin = 8;
constexpr int kRightMargin = 2;
constexpr int kBottomMargin = 2;
}  // namespace

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, int columns, QWidget* parent)
    : QGroupBox(caption, parent), group_(new QButtonGroup(this)) {
    columns = std::max(columns, 1);
    const int perColumn = std::max((static_cast<int>(items.size()) + columns - 1) / columns, 1);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    // Items fill the columns top to bottom; every cell has the same size,
    // whatever the length of its caption.
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        group_->addButton(button, i);
        button->installEventFilter(this);
        buttons_.push_back(button);
        grid->addWidget(button, i % perColumn, i / perColumn);
    }
    for (int c = 0; c < columns; ++c) grid->setColumnStretch(c, 1);
    for (int r = 0; r < perColumn; ++r) grid->setRowStretch(r, 1);
    FitMarginsToTitle();
}

int TRadioGroup::ItemIndex() const { return group_->checkedId(); }

void TRadioGroup::SetItemIndex(int index) {
    index = std::clamp(index, -1, Count() - 1);
    if (index >= 0) {
        buttons_[static_cast<std::size_t>(index)]->setChecked(true);
        return;
    }
    // An exclusive group refuses to uncheck its checked button.
    group_->setExclusive(false);
    for (QRadioButton* button : buttons_) button->setChecked(false);
    group_->setExclusive(true);
}

// Qt's own arrow handling only moves the focus when no item is checked,
// and finds no neighbour above or below in a one-row group.
bool TRadioGroup::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QGroupBox::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & ~Qt::KeypadModifier) return false;
    int step = 0;
    if (key->key() == Qt::Key_Left || key->key() == Qt::Key_Up) step = -1;
    if (key->key() == Qt::Key_Right || key->key() == Qt::Key_Down) step = 1;
    const auto at = std::find(buttons_.begin(), buttons_.end(), watched);
    if (step == 0 || at == buttons_.end()) return false;
    const int index = std::clamp(static_cast<int>(at - buttons_.begin()) + step, 0, Count() - 1);
    SetItemIndex(index);
    Button(index)->setFocus(step < 0 ? Qt::BacktabFocusReason : Qt::TabFocusReason);
    return true;
}

// QGroupBox sets its margins from the style again on a font or style change.
void TRadioGroup::changeEvent(QEvent* event) {
    QGroupBox::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) FitMarginsToTitle();
}

// The style keeps a padded title area free, taller than a one-row box of
// the window's height leaves room for; the buttons start right below the
// title's text line instead, clear of the title and inside the frame.
void TRadioGroup::FitMarginsToTitle() {
    setContentsMargins(kLeftMargin, fontMetrics().height(), kRightMargin, kBottomMargin);
}

}  // namespace mosaiko
