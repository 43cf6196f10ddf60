#include "ReportPreview.h"

#include "QuickRep.h"
#include "WindowPlacement.h"

#include <QLabel>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QSpinBox>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

namespace mosaiko {

QString FileNameForTitle(const QString& title) {
    QString name = title;
    for (QChar& c : name)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || QStringLiteral("/\\:*?\"<>|").contains(c)) c = u'_';
    while (!name.isEmpty() && (name.back() == u'.' || name.back().isSpace())) name.chop(1);
    return name.isEmpty() ? QString::fromUtf8("帳票") : name;
}

ReportPreview::ReportPreview(TQuickRep& report, QPrinter& printer, int pages, QWidget* parent)
    : QDialog(parent), report_(report), printer_(printer), pages_(std::max(pages, 1)) {
    setWindowTitle(QString::fromUtf8("印刷プレビュー"));
    view_ = new QPrintPreviewWidget(&printer_, this);
    view_->setViewMode(QPrintPreviewWidget::SinglePageView);
    view_->setZoomMode(QPrintPreviewWidget::FitInView);  // a whole page in view
    // Qt's preview asks for the pages when it first shows and whenever it is
    // told to update: each time only the page on view is generated.
    connect(view_, &QPrintPreviewWidget::paintRequested, this, &ReportPreview::Generate);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    BuildToolBar();
    layout->addWidget(view_);
    // Its size where the screen has room, smaller where it has not.
    new ScreenKeeper(*this, QSize(800, 900));
}

void ReportPreview::BuildToolBar() {
    auto* bar = new QToolBar(this);
    pageBox_ = new QSpinBox(bar);
    pageBox_->setRange(1, pages_);
    pageBox_->setKeyboardTracking(false);
    bar->addAction(QString::fromUtf8("最初"), this, [this] { ShowPage(1); });
    bar->addAction(QString::fromUtf8("前"), this, [this] { ShowPage(page_ - 1); });
    bar->addWidget(pageBox_);
    bar->addWidget(new QLabel(QStringLiteral(" / %1 ").arg(pages_), bar));
    bar->addAction(QString::fromUtf8("次"), this, [this] { ShowPage(page_ + 1); });
    bar->addAction(QString::fromUtf8("最後"), this, [this] { ShowPage(pages_); });
    bar->addSeparator();
    bar->addAction(QString::fromUtf8("拡大"), view_, [this] { view_->zoomIn(); });
    bar->addAction(QString::fromUtf8("縮小"), view_, [this] { view_->zoomOut(); });
    bar->addAction(QString::fromUtf8("全体"), view_, [this] { view_->fitInView(); });
    bar->addSeparator();
    bar->addAction(QString::fromUtf8("印刷..."), this, &ReportPreview::AskAndPrint);
    connect(pageBox_, &QSpinBox::valueChanged, this, &ReportPreview::ShowPage);
    layout()->addWidget(bar);
}

void ReportPreview::ShowPage(int page) {
    page = std::clamp(page, 1, pages_);
    if (page == page_) return;
    page_ = page;
    pageBox_->setValue(page_);  // comes back here with the same page, which stops
    view_->updatePreview();
}

void ReportPreview::Generate(QPrinter* printer) {
    if (printing_)
        report_.Print(*printer);
    else
        report_.PrintPage(*printer, page_);
}

void ReportPreview::PrintReport() {
    printing_ = true;
    view_->print();
    printing_ = false;
}

void ReportPreview::AskAndPrint() {
    // The dialog names a PDF file after the document, less what follows its
    // last dot; the printing itself names the job with the title again.
    printer_.setDocName(FileNameForTitle(report_.Title()) + QStringLiteral(".pdf"));
    QPrintDialog dialog(&printer_, this);
    if (dialog.exec() == QDialog::Accepted) PrintReport();
}

}  // namespace mosaiko
