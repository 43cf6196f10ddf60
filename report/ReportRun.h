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
    // maxPages 0: no limit (a PDF file); a preview holds its pages in memory.
    // onlyPage > 0: that page alone (1-based), from its first record on.
    ReportRun(TQuickRep& report, QPagedPaintDevice& device, int maxPages = kMaxPreviewPages, int onlyPage = 0);
    RunResult Execute();

    static constexpr int kMaxPreviewPages = 10000;
    // The pages that `records` detail bands fill, laid out as Execute lays
    // them out; at least 1 (the page header prints on an empty report too).
    static long long PagesFor(const TQuickRep& report, long long records);
    // The detail bands on a full page; at least 1.
    static long long RecordsPerPage(const TQuickRep& report);

private:
    bool SkipToOnlyPage();
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
    int maxPages_;
    int onlyPage_;
    int pageOffset_ = 0;     // pages before the first one generated
    double yMm_ = 0;         // where the next band goes, from the paper's top
    bool pageHasDetail_ = false;
};

}  // namespace mosaiko
