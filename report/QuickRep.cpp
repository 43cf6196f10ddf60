#include "QuickRep.h"

#include "ReportPreview.h"
#include "ReportRun.h"

#include "OutputFile.h"

#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace mosaiko {
namespace {

// The recorded pages of a preview are many small blocks; glibc keeps the
// memory they leave in its arenas unless asked to give it back.
void ReturnFreedMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

}  // namespace

TQuickRep::TQuickRep(QObject* parent) : QObject(parent) {}

TQuickRep::~TQuickRep() = default;

TReportBand& TQuickRep::Band(TBandType type) {
    std::unique_ptr<TReportBand>& slot =
        type == TBandType::rbPageHeader ? pageHeader_ : detail_;
    if (!slot) {
        slot = std::make_unique<TReportBand>(type);
        slot->Size().SetWidth(page_.PrintableWidth());
    }
    return *slot;
}

const TReportBand* TQuickRep::FindBand(TBandType type) const {
    return type == TBandType::rbPageHeader ? pageHeader_.get() : detail_.get();
}

RunResult TQuickRep::Generate(QPagedPaintDevice& device, int maxPages, int onlyPage) {
    if (generating_) {
        // An event handler asked for the report again while it was being made.
        RunResult busy;
        busy.error = QString::fromUtf8("帳票はすでに作成中です。");
        return busy;
    }
    generating_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{generating_};
    RunResult result = ReportRun(*this, device, maxPages, onlyPage).Execute();
    pageCount_ = result.pages;
    lastError_ = result.error;
    return result;
}

bool TQuickRep::Print(QPagedPaintDevice& device) { return Generate(device, ReportRun::kMaxPreviewPages).ok; }

bool TQuickRep::PrintPage(QPagedPaintDevice& device, int page) { return Generate(device, 0, page).ok; }

bool TQuickRep::ExportToPdf(const QString& path) {
    OutputFile file(path);
    if (!file.Open()) {
        pageCount_ = 0;
        lastError_ = file.Error();
        return false;
    }
    RunResult result;
    {
        QPdfWriter writer(&file.Device());
        writer.setResolution(kPdfResolution);
        writer.setCreator(QStringLiteral("Mosaiko"));
        result = Generate(writer, 0);
    }
    if (!result.ok && file.WriteFailed()) lastError_ = file.Error();  // the system's reason
    if (result.ok && !file.Commit()) {
        result.ok = false;
        lastError_ = file.Error();
    }
    return result.ok;
}

long long TQuickRep::PagesKnownAhead() const {
    if (!RecordCount || !OnSkipToRecord) return 0;
    const long long records = RecordCount();
    if (records < 0) return 0;
    const long long pages = ReportRun::PagesFor(*this, records);
    // Past the limit the whole generation runs and refuses, as it always has.
    return pages <= ReportRun::kMaxPreviewPages ? pages : 0;
}

void TQuickRep::Preview(QWidget* parent) {
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageLayout(page_.PaperLayout());
        if (const long long pages = PagesKnownAhead(); pages > 0) {
            ReportPreview dialog(*this, printer, static_cast<int>(pages), parent);
            dialog.exec();
        } else {
            QPrintPreviewDialog dialog(&printer, parent);
            connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
                    [this](QPrinter* target) { Print(*target); });
            if (auto* view = dialog.findChild<QPrintPreviewWidget*>())
                view->setZoomMode(QPrintPreviewWidget::FitInView);
            dialog.exec();
        }
    }
    ReturnFreedMemory();
}

}  // namespace mosaiko
