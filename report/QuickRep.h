// A banded report form: a page header band printed at the top of every page
// and a detail band printed once per record. Records come from the OnNeedData
// event one at a time; the form has no data source of its own.
#pragma once

#include "ReportBand.h"
#include "ReportPage.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QPagedPaintDevice;
class QWidget;

namespace mosaiko {

struct RunResult;

class TQuickRep : public QObject {
    Q_OBJECT

public:
    explicit TQuickRep(QObject* parent = nullptr);
    ~TQuickRep() override;

    TReportPage& Page() { return page_; }
    const TReportPage& Page() const { return page_; }

    // A form has at most one band of each type; the first call creates it,
    // as wide as the area between the side margins at that moment.
    TReportBand& Band(TBandType type);
    const TReportBand* FindBand(TBandType type) const;

    // With no records the page header still prints on one page (default on).
    bool PrintIfEmpty() const { return printIfEmpty_; }
    void SetPrintIfEmpty(bool on) { printIfEmpty_ = on; }

    // The document's name: the PDF's title and the print job's name. Read
    // when the output opens, so BeforePrint may still set it.
    QString Title() const { return title_; }
    void SetTitle(const QString& title) { title_ = title; }

    // Called at the start of every generation; setting the flag to false
    // cancels that generation.
    std::function<void(bool& printIt)> BeforePrint;
    // Called before each detail band; true prints one band with the values
    // just set, false ends the records. Unset means no records.
    std::function<void(bool& moreData)> OnNeedData;
    // Called after BeforePrint by a generation of a single page: moves the
    // supply so that the next OnNeedData gives record `record` (0-based, in
    // the order of a whole generation). False, or unset: the form cannot.
    std::function<bool(long long record)> OnSkipToRecord;
    // The records the next generation will supply, known before it runs;
    // negative, or unset: not known.
    std::function<long long()> RecordCount;

    // Shows the pages in a modal print preview; printing from it generates
    // the report again. Returns when the window is closed. When the pages
    // are known ahead, each page is generated when it is shown; otherwise
    // all of them are generated before the window opens.
    void Preview(QWidget* parent = nullptr);
    // Generates the report into an A4 PDF file ("-": standard output), with
    // no page limit. The file is replaced only by a complete report: on
    // failure, cancellation or a signal the old file stays, and LastError()
    // says why.
    bool ExportToPdf(const QString& path);
    // Dots per inch of the PDF: fine enough that text and pictures keep
    // their shape at any zoom.
    static constexpr int kPdfResolution = 1200;
    // One generation onto any paged device (printer, PDF writer). The device's
    // page layout is set to the report's paper.
    bool Print(QPagedPaintDevice& device);
    // Generates page `page` (1-based) alone, exactly as the generation of the
    // whole report draws it: the form is asked to skip to that page's first
    // record, and only that page's records are asked for. Needs OnSkipToRecord.
    bool PrintPage(QPagedPaintDevice& device, int page);

    // The pages the report will have, when the form tells its record count
    // and can skip to any record, within the preview's page limit; 0 otherwise.
    long long PagesKnownAhead() const;

    // Pages of the last generation (0 when it was cancelled or failed early).
    int PageCount() const { return pageCount_; }
    QString LastError() const { return lastError_; }

private:
    RunResult Generate(QPagedPaintDevice& device, int maxPages, int onlyPage = 0);

    TReportPage page_;
    std::unique_ptr<TReportBand> pageHeader_;
    std::unique_ptr<TReportBand> detail_;
    QString title_;
    bool printIfEmpty_ = true;
    bool generating_ = false;
    int pageCount_ = 0;
    QString lastError_;
};

}  // namespace mosaiko
