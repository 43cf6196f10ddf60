#include "FileDrop.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>

#include "MainWindow.h"

namespace mosaiko {
namespace {

bool IsDrag(QEvent::Type type) {
    return type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop;
}

// Adds `note` to what the status bar says now.
void AddNote(QStatusBar& bar, const QString& note) {
    const QString now = bar.currentMessage();
    bar.showMessage(now.isEmpty() ? note : now + QStringLiteral("。") + note);
}

}  // namespace

DroppedFile ChooseDroppedFile(const QMimeData& data) {
    const QList<QUrl> urls = data.urls();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return {{}, QStringLiteral("ファイルをドロップしてください（ファイル以外は取り込めません）")};
    const QString path = urls.first().toLocalFile();
    if (QFileInfo(path).isDir()) return {{}, QStringLiteral("フォルダーは取り込めません。ファイルをドロップしてください")};
    if (urls.size() == 1) return {path, {}};
    return {path, QStringLiteral("%1 個のうち最初のファイル %2 だけを取り込みました")
                      .arg(urls.size())
                      .arg(QFileInfo(path).fileName())};
}

FileDrop::FileDrop(TQRTest_main& window) : QObject(&window), window_(window) {
    window.setAcceptDrops(true);
    window.installEventFilter(this);
    // Text fields take drops themselves and would write a file's address as text.
    for (QWidget* child : window.findChildren<QWidget*>())
        if (child->acceptDrops()) child->installEventFilter(this);
}

bool FileDrop::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::DragLeave) hovering_ = {};
    if (!IsDrag(event->type())) return false;
    auto* drop = static_cast<QDropEvent*>(event);
    // Plain text dragged onto a text field stays the field's own business.
    if (watched != &window_ && !drop->mimeData()->hasUrls()) return false;
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    DroppedFile dropped = ChooseDroppedFile(*drop->mimeData());
    if (event->type() != QEvent::Drop) {
        hovering_ = dropped;
        return true;
    }
    // On X11 the data can read back empty at the drop itself although it
    // read well while the files hovered: what hovered is what was dropped.
    if (dropped.path.isEmpty() && !hovering_.path.isEmpty()) dropped = hovering_;
    hovering_ = {};
    // The import runs once the drop is over, so the program the file came
    // from hears at once that it was taken.
    QTimer::singleShot(0, this, [this, dropped] { Drop(dropped); });
    return true;
}

void FileDrop::Drop(const DroppedFile& dropped) {
    if (window_.Busy().Busy()) {
        window_.StatusBar1->showMessage(QStringLiteral("取り込み中です。終わってからドロップしてください"));
        return;
    }
    if (!dropped.path.isEmpty()) window_.ImportPath(dropped.path);
    if (!dropped.note.isEmpty()) AddNote(*window_.StatusBar1, dropped.note);
}

}  // namespace mosaiko
