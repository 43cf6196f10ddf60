#include "ReportRun.h"

#include "ReportUnits.h"

#include <QPdfWriter>
#include <QPrinter>
#include <algorithm>

namespace mosaiko {
namespace {

// Rounding of band heights must not push a band that fits onto the next page.
constexpr double kFitTolerance = 1e-6;
bool BandFits(double yMm, double heightMm, double bottomMm) { return yMm + heightMm <= bottomMm + kFitTolerance; }

// Guards against a need-data handler that never says "no more".
constexpr long long kMaxRecords = 10'000'000;

}  // namespace

ReportRun::ReportRun(TQuickRep& report, QPagedPaintDevice& device, int maxPages, int onlyPage)
    : report_(report), device_(device), maxPages_(maxPages), onlyPage_(onlyPage) {}

RunResult ReportRun::Execute() {
    bool printIt = true;
    if (report_.BeforePrint) report_.BeforePrint(printIt);
    if (!printIt) {
        result_.error = QString::fromUtf8("帳票の作成は印刷の前に取り消されました。");
        return result_;
    }
    if (!SkipToOnlyPage()) return result_;
    // The first record is asked for before the device opens, so that a
    // report with no records and PrintIfEmpty off writes nothing at all.
    bool more = AskForRecord();
    if (!more && !report_.PrintIfEmpty()) {
        result_.error = QString::fromUtf8("帳票に印刷するデータがありません。");
        return result_;
    }
    if (!Open() || !StartPage()) return result_;
    // A page alone stops at its last record, without asking for the next.
    const long long recordLimit = onlyPage_ > 0 ? RecordsPerPage(report_) : kMaxRecords + 1;
    long long records = 0;
    while (more) {
        if (++records > kMaxRecords) {
            result_.error = QString::fromUtf8("帳票のデータが %1 件を超えています。").arg(kMaxRecords);
            return result_;
        }
        if (!PrintDetail()) return result_;
        more = records < recordLimit && AskForRecord();
    }
    if (!painter_.end()) {
        result_.error = QString::fromUtf8("出力を最後まで書けませんでした。");
        return result_;
    }
    result_.ok = true;
    return result_;
}

bool ReportRun::SkipToOnlyPage() {
    if (onlyPage_ <= 0) return true;
    pageOffset_ = onlyPage_ - 1;
    const long long first = pageOffset_ * RecordsPerPage(report_);
    if (!report_.OnSkipToRecord || !report_.OnSkipToRecord(first)) {
        result_.error = QString::fromUtf8("帳票の %1 ページ目だけを作ることはできません。").arg(onlyPage_);
        return false;
    }
    return true;
}

bool ReportRun::AskForRecord() {
    bool more = false;
    if (report_.OnNeedData) report_.OnNeedData(more);
    return more;
}

bool ReportRun::Open() {
    // A device that refuses the layout keeps its own; the mapping below reads
    // back whatever is in force, so positions stay right either way.
    device_.setPageLayout(report_.Page().PaperLayout());
    // A PDF printer names its file after the job, a viewer shows the title.
    if (auto* printer = dynamic_cast<QPrinter*>(&device_)) printer->setDocName(report_.Title());
    if (auto* pdf = dynamic_cast<QPdfWriter*>(&device_)) pdf->setTitle(report_.Title());
    if (!painter_.begin(&device_)) {
        result_.error = QString::fromUtf8("出力先を開けませんでした。");
        return false;
    }
    result_.deviceOpened = true;
    const QPageLayout layout = device_.pageLayout();
    DeviceMapping mapping;
    mapping.pixelsPerMmX = device_.logicalDpiX() / kMillimetresPerInch;
    mapping.pixelsPerMmY = device_.logicalDpiY() / kMillimetresPerInch;
    if (layout.mode() != QPageLayout::FullPageMode)
        mapping.originMm = layout.paintRect(QPageLayout::Millimeter).topLeft();
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter_.setRenderHint(QPainter::LosslessImageRendering, true);
    bands_.emplace(painter_, mapping);
    return true;
}

bool ReportRun::StartPage() {
    if (maxPages_ > 0 && result_.pages >= maxPages_) {
        result_.error = QString::fromUtf8("帳票が %1 ページを超えています。").arg(maxPages_);
        return false;
    }
    if (result_.pages > 0 && !device_.newPage()) {
        result_.error = QString::fromUtf8("新しいページを始められませんでした。");
        return false;
    }
    ++result_.pages;
    const TReportPage& page = report_.Page();
    yMm_ = page.PrintableTop();
    pageHasDetail_ = false;
    if (const TReportBand* header = report_.FindBand(TBandType::rbPageHeader)) {
        bands_->Paint(*header, QPointF(page.LeftMargin(), yMm_), PrintableMm(), pageOffset_ + result_.pages);
        yMm_ += header->Size().Height();
    }
    return true;
}

bool ReportRun::PrintDetail() {
    const TReportBand* detail = report_.FindBand(TBandType::rbDetail);
    if (!detail) return true;
    const double height = detail->Size().Height();
    // A band taller than an empty page still prints once, cut at the margin.
    const bool fits = BandFits(yMm_, height, report_.Page().PrintableBottom());
    if (!fits && pageHasDetail_ && !StartPage()) return false;
    bands_->Paint(*detail, QPointF(report_.Page().LeftMargin(), yMm_), PrintableMm(),
                  pageOffset_ + result_.pages);
    yMm_ += height;
    pageHasDetail_ = true;
    return true;
}

long long ReportRun::PagesFor(const TQuickRep& report, long long records) {
    const TReportBand* detail = report.FindBand(TBandType::rbDetail);
    if (!detail || records <= 0 || detail->Size().Height() <= 0) return 1;
    const long long perPage = RecordsPerPage(report);
    return (records + perPage - 1) / perPage;
}

long long ReportRun::RecordsPerPage(const TQuickRep& report) {
    const TReportBand* detail = report.FindBand(TBandType::rbDetail);
    if (!detail || detail->Size().Height() <= 0) return 1;
    const TReportPage& page = report.Page();
    const TReportBand* header = report.FindBand(TBandType::rbPageHeader);
    const double height = detail->Size().Height();
    double y = page.PrintableTop() + (header ? header->Size().Height() : 0);
    long long perPage = 0;
    for (; BandFits(y, height, page.PrintableBottom()); y += height) ++perPage;
    return std::max(perPage, 1LL);  // a band taller than a page still prints once on each
}

QRectF ReportRun::PrintableMm() const {
    const TReportPage& page = report_.Page();
    return QRectF(page.LeftMargin(), page.PrintableTop(), page.PrintableWidth(),
                  page.PrintableBottom() - page.PrintableTop());
}

}  // namespace mosaiko
