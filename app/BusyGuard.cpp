#include "BusyGuard.h"

#include <QApplication>

namespace mosaiko {

void BusyState::RequestStop() {
    if (Busy()) stop_ = true;
}

void BusyState::Enter() {
    if (depth_++ == 0 && listener_) listener_(true);
}

void BusyState::Leave() {
    if (--depth_ > 0) return;
    stop_ = false;
    if (listener_) listener_(false);
}

WaitCursor::WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }

void WaitCursor::Restore() {
    if (!shown_) return;
    shown_ = false;
    QApplication::restoreOverrideCursor();
}

}  // namespace mosaiko
