// One generation of a report: asks for records, decides where each band goes
// and when a page is full, and hands the drawing to BandPainter.
#pragma once

#include "BandPainter.h"
#include "QuickRep.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QString>
#include <optional>

namespace mosaiko {

struct RunResult {
    bool ok = false;
    bool deviceOpened = false;  // the device may hold partial output
    int pages = 0;
    QString error;
};

class ReportRun {
public:
    ReportRun(TQuickRep& report, QPagedPaintDevice& device);
    RunResult Execute();

    // A runaway need-data handler must not fill the disk.
    static constexpr int kMaxPages = 10000;

private:
    bool AskForRecord();
    bool Open();
    bool StartPage();
    bool PrintDetail();
    QRectF PrintableMm() const;

    TQuickRep& report_;
    QPagedPaintDevice& device_;
    QPainter painter_;
    std::optional<BandPainter> bands_;
    RunResult result_;
    double yMm_ = 0;         // where the next band goes, from the paper's top
    bool pageHasDetail_ = false;
};

}  // namespace mosaiko
