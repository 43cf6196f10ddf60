#include "KeyboardNavigation.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>

#include "MainControls.h"
#include "MemoView.h"
#include "RadioGroup.h"

namespace mosaiko {
namespace {

// Enter and Return click the button they are typed on; push buttons
// outside a dialog and tool buttons take only Space by themselves.
class EnterPresses : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
        static_cast<QAbstractButton*>(watched)->click();
        return true;
    }
};

struct ButtonKey {
    QAbstractButton* button;
    const char* what;  // the tooltip, UTF-8
    QKeySequence keys;
};

void SetTabChain(MainControls& c) {
    QWidget* chain[] = {c.FilePath,  c.SpeedButton1, c.SpeedButton2, c.SpeedButton3,
                        c.Memo1,     c.TrackBar1,    c.RadioGroup1->Button(0), c.RadioGroup1->Button(1),
                        c.RadioGroup1->Button(2), c.RadioGroup1->Button(3), c.Button1, c.Button3,
                        c.Edit5,     c.SpinEdit2,    c.SpinEdit1,    c.ComboBox1,
                        c.CheckBox1, c.CheckBox2};
    for (std::size_t i = 1; i < std::size(chain); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}

}  // namespace

void SetUpKeyboard(QWidget& window, MainControls& c) {
    // Tab reaches the speed buttons; a click leaves the focus where it was.
    for (QToolButton* button : {c.SpeedButton1, c.SpeedButton2, c.SpeedButton3}) button->setFocusPolicy(Qt::TabFocus);
    SetTabChain(c);
    auto* enter = new EnterPresses(&window);
    const ButtonKey keys[] = {
        {c.SpeedButton1, "ファイルを選んで取り込みます", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {c.SpeedButton2, "取り込み・生成チェック・帳票の生成を中止します", QKeySequence(Qt::Key_Escape)},
        {c.SpeedButton3, "取り込んだ行の表示を消します", QKeySequence(Qt::CTRL | Qt::Key_L)},
        {c.Button1, "すべてのグループがシンボルに収まるか調べます", QKeySequence(Qt::Key_F5)},
        {c.Button3, "生成チェックのあと帳票をプレビューします", QKeySequence(Qt::CTRL | Qt::Key_P)},
    };
    for (const ButtonKey& k : keys) {
        k.button->installEventFilter(enter);
        k.button->setToolTip(QStringLiteral("%1（%2）")
                                 .arg(QString::fromUtf8(k.what), k.keys.toString(QKeySequence::NativeText)));
        auto* shortcut = new QShortcut(k.keys, &window);
        QAbstractButton* button = k.button;
        QObject::connect(shortcut, &QShortcut::activated, button, [button] { button->click(); });
    }
}

}  // namespace mosaiko
