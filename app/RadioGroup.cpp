#include "RadioGroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <algorithm>

namespace mosaiko {

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, int columns, QWidget* parent)
    : QGroupBox(caption, parent), group_(new QButtonGroup(this)), columns_(std::max(columns, 1)) {
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        group_->addButton(button, i);
        buttons_.push_back(button);
    }
    ArrangeButtons();
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

void TRadioGroup::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    ArrangeButtons();
}

void TRadioGroup::ArrangeButtons() {
    // Items fill the columns top to bottom, below the caption line.
    const int perColumn = (Count() + columns_ - 1) / columns_;
    if (perColumn == 0) return;
    const int top = fontMetrics().height();
    const int columnWidth = (width() - 10) / columns_;
    const int rowHeight = std::max((height() - top - 2) / perColumn, 1);
    for (int i = 0; i < Count(); ++i) {
        const int column = i / perColumn;
        const int row = i % perColumn;
        buttons_[static_cast<std::size_t>(i)]->setGeometry(8 + column * columnWidth, top + row * rowHeight,
                                                           columnWidth, rowHeight);
    }
}

}  // namespace mosaiko
