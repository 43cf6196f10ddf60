// The status bar's message in full: a "詳細" button beside it opens a view
// with the whole text (selectable and copyable) whenever the line is cut at
// the window's edge or more is known than it says; and one action button
// ("おすすめを適用") for a message that offers a change of settings.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QDialog;
class QPlainTextEdit;
class QStatusBar;
class QToolButton;

namespace mosaiko {

class MessageDetails : public QObject {
    Q_OBJECT

public:
    explicit MessageDetails(QStatusBar* bar);

    // Shows `line` in the status bar. `full`, when given, makes the whole
    // text the details view shows (asked for only when it is opened).
    void Show(const QString& line, std::function<QString()> full = {});
    // The action offered with the message now shown; an empty caption offers
    // none. It is withdrawn when the status bar's message changes.
    void SetAction(const QString& caption, std::function<void()> action);

    // The whole text of the current message.
    QString FullText() const;
    // Opens (or raises) the details view; it stays open beside the window.
    void OpenDetails();

    QToolButton* DetailsButton = nullptr;
    QToolButton* ActionButton = nullptr;
    // The details view while it exists, and its text.
    QPointer<QDialog> DetailsView;
    QPlainTextEdit* DetailsText = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void MessageChanged(const QString& message);
    void UpdateButtons();

    QStatusBar* bar_;
    QString line_;                     // the message Show() put up
    std::function<QString()> full_;    // its whole text, when more than the line
    std::function<void()> action_;
};

}  // namespace mosaiko
