// The progress of a long loop over the groups (the check, a generation of
// the report) in the status bar: "1234 / 36000", shown once the loop has run
// about half a second, so short runs do not flicker.
#pragma once

#include <QElapsedTimer>

class QProgressBar;
class QStatusBar;

namespace mosaiko {

class CheckProgress {
public:
    static constexpr int kShowAfterMs = 500;

    CheckProgress(QStatusBar* bar, long long total);
    ~CheckProgress();  // hides the bar again
    CheckProgress(const CheckProgress&) = delete;
    CheckProgress& operator=(const CheckProgress&) = delete;

    // `done` of the total groups are through.
    void Step(long long done);

    // The status bar's progress bar, made on first use.
    static QProgressBar* BarOf(QStatusBar* bar);

private:
    QProgressBar* progress_;
    long long total_;
    bool shown_ = false;
    QElapsedTimer started_;
};

}  // namespace mosaiko
