#include "ReportPreview.h"

#include "QuickRep.h"

#include <QLabel>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QSpinBox>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

namespace mosaiko {

ReportPreview::ReportPreview(TQuickRep& report, QPrinter& printer, int pages, QWidget* parent)
    : QDialog(parent), report_(report), printer_(printer), pages_(std::max(pages, 1)) {
    setWindowTitle(QString::fromUtf8("印刷プレビュー"));
    view_ = new QPrintPreviewWidget(&printer_, this);
    view_->setViewMode(QPrintPreviewWidget::SinglePageView);
    view_->setZoomFactor(report_.Page().Zoom() / 100.0);
    // Qt's preview asks for the pages when it first shows and whenever it is
    // told to update: each time only the page on view is generated.
    connect(view_, &QPrintPreviewWidget::paintRequested, this, &ReportPreview::Generate);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    BuildToolBar();
    layout->addWidget(view_);
    resize(800, 900);
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
    QPrintDialog dialog(&printer_, this);
    if (dialog.exec() == QDialog::Accepted) PrintReport();
}

}  // namespace mosaiko
