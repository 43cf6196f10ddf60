#include "MessageDetails.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace mosaiko {
namespace {

QToolButton* MakeButton(QStatusBar* bar, const char* name, const QString& caption) {
    auto* button = new QToolButton(bar);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(caption);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);  // the window's tab order stays as it is
    button->hide();
    bar->addPermanentWidget(button);
    return button;
}

}  // namespace

MessageDetails::MessageDetails(QStatusBar* bar) : QObject(bar), bar_(bar) {
    ActionButton = MakeButton(bar, "ActionButton", QString());
    DetailsButton = MakeButton(bar, "DetailsButton", QStringLiteral("詳細"));
    DetailsButton->setToolTip(QStringLiteral("メッセージの全文を表示します"));
    connect(DetailsButton, &QToolButton::clicked, this, [this] { OpenDetails(); });
    connect(ActionButton, &QToolButton::clicked, this, [this] {
        if (const auto action = action_) action();
    });
    connect(bar, &QStatusBar::messageChanged, this, [this](const QString& m) { MessageChanged(m); });
    bar->installEventFilter(this);
}

bool MessageDetails::eventFilter(QObject* watched, QEvent* event) {
    if (watched == bar_ && event->type() == QEvent::Resize) UpdateButtons();
    return QObject::eventFilter(watched, event);
}

void MessageDetails::Show(const QString& line, std::function<QString()> full) {
    line_ = line;
    full_ = std::move(full);
    bar_->showMessage(line);  // MessageChanged follows
    UpdateButtons();
}

void MessageDetails::SetAction(const QString& caption, std::function<void()> action) {
    action_ = caption.isEmpty() ? nullptr : std::move(action);
    ActionButton->setText(caption);
    UpdateButtons();
}

QString MessageDetails::FullText() const {
    const QString message = bar_->currentMessage();
    return message == line_ && full_ ? full_() : message;
}

void MessageDetails::MessageChanged(const QString& message) {
    // Another message (an import's, a stopped print's) carries neither the
    // details nor the action of the one before.
    if (message != line_) {
        full_ = nullptr;
        action_ = nullptr;
        line_.clear();
    }
    bar_->setToolTip(message);
    UpdateButtons();
}

void MessageDetails::UpdateButtons() {
    const QString message = bar_->currentMessage();
    ActionButton->setVisible(action_ && !message.isEmpty());
    // What the bar has room for once its buttons are placed.
    int room = bar_->width() - 24 - DetailsButton->sizeHint().width();
    if (ActionButton->isVisibleTo(bar_)) room -= ActionButton->sizeHint().width();
    const bool cut = QFontMetrics(bar_->font()).horizontalAdvance(message) > room;
    DetailsButton->setVisible(!message.isEmpty() && (cut || (full_ && message == line_)));
}

void MessageDetails::OpenDetails() {
    if (!DetailsView) {
        auto* view = new QDialog(bar_->window());
        view->setObjectName(QStringLiteral("MessageDetailsView"));
        view->setWindowTitle(QStringLiteral("メッセージの詳細"));
        view->setAttribute(Qt::WA_DeleteOnClose);
        view->resize(640, 360);
        DetailsText = new QPlainTextEdit(view);
        DetailsText->setReadOnly(true);  // still selectable and copyable
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, view);
        connect(buttons, &QDialogButtonBox::rejected, view, &QDialog::close);
        auto* layout = new QVBoxLayout(view);
        layout->addWidget(DetailsText);
        layout->addWidget(buttons);
        DetailsView = view;
    }
    DetailsText->setPlainText(FullText());
    DetailsView->show();
    DetailsView->raise();
}

}  // namespace mosaiko
