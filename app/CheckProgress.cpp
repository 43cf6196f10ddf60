#include "CheckProgress.h"

#include <QProgressBar>
#include <QStatusBar>
#include <algorithm>
#include <climits>

namespace mosaiko {

QProgressBar* CheckProgress::BarOf(QStatusBar* bar) {
    if (auto* found = bar->findChild<QProgressBar*>(QStringLiteral("ProgressBar1"))) return found;
    auto* progress = new QProgressBar(bar);
    progress->setObjectName(QStringLiteral("ProgressBar1"));
    progress->setFormat(QStringLiteral("%v / %m"));
    progress->setFixedWidth(180);
    progress->hide();
    bar->addPermanentWidget(progress);
    return progress;
}

CheckProgress::CheckProgress(QStatusBar* bar, long long total) : progress_(BarOf(bar)), total_(total) {
    started_.start();
}

CheckProgress::~CheckProgress() { progress_->hide(); }

void CheckProgress::Step(long long done) {
    if (!shown_) {
        if (started_.elapsed() < kShowAfterMs) return;
        progress_->setRange(0, static_cast<int>(std::min<long long>(total_, INT_MAX)));
        progress_->show();
        shown_ = true;
    }
    progress_->setValue(static_cast<int>(std::min<long long>(done, INT_MAX)));
}

}  // namespace mosaiko
