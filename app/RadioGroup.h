// A radio group: a titled box of radio buttons laid out in columns, with the
// index of the checked item (-1 when none is checked).
#pragma once

#include <QGroupBox>
#include <QStringList>
#include <vector>

class QButtonGroup;
class QRadioButton;

namespace mosaiko {

class TRadioGroup : public QGroupBox {
    Q_OBJECT

public:
    TRadioGroup(const QString& caption, const QStringList& items, int columns, QWidget* parent = nullptr);

    int ItemIndex() const;
    // Clamped to -1 .. item count - 1; -1 unchecks every item.
    void SetItemIndex(int index);
    int Count() const { return static_cast<int>(buttons_.size()); }
    QRadioButton* Button(int index) const { return buttons_.at(static_cast<std::size_t>(index)); }

    // The arrow keys on an item check the item before or after it.
    bool eventFilter(QObject* watched, QEvent* event) override;

protected:
    void changeEvent(QEvent* event) override;

private:
    void FitMarginsToTitle();

    QButtonGroup* group_;
    std::vector<QRadioButton*> buttons_;
};

}  // namespace mosaiko
