// Files dropped on the main window are imported as if chosen with "…",
// wherever they land, the title field included.
#pragma once

#include <QObject>
#include <QString>

class QMimeData;

namespace mosaiko {

class TQRTest_main;

// What a drop brings: the file to import (empty when there is none) and
// what to tell the user (empty when nothing needs saying).
struct DroppedFile {
    QString path;
    QString note;
};
// The first of the dropped items; a folder, or a drop without any file,
// gives no path and a note saying why.
DroppedFile ChooseDroppedFile(const QMimeData& data);

// Watches the window and every child that takes drops of its own.
class FileDrop : public QObject {
public:
    explicit FileDrop(TQRTest_main& window);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Drop(const DroppedFile& dropped);

    TQRTest_main& window_;
    DroppedFile hovering_;  // what the files over the window would give
};

}  // namespace mosaiko
