// The preview window of a report whose page count is known before it runs:
// it shows one page at a time and generates a page only when it is shown,
// so it opens at once whatever the report's size. Printing from it
// generates the whole report.
#pragma once

#include <QDialog>

class QLabel;
class QPrinter;
class QPrintPreviewWidget;
class QSpinBox;

namespace mosaiko {

class TQuickRep;

// The report's title as a file name: characters a file system refuses
// ("/", "\", ":", "*", "?", '"', "<", ">", "|") and control characters become
// "_", trailing blanks and dots go; an empty result is "帳票". With ".pdf"
// after it, the print dialog's default name for a PDF file.
QString FileNameForTitle(const QString& title);

class ReportPreview : public QDialog {
    Q_OBJECT

public:
    ReportPreview(TQuickRep& report, QPrinter& printer, int pages, QWidget* parent = nullptr);

    int PageCount() const { return pages_; }
    int CurrentPage() const { return page_; }
    QPrinter& Printer() { return printer_; }
    // Generates and shows that page (clamped to the report's pages).
    void ShowPage(int page);
    // The whole report onto the dialog's printer, as the print button does
    // once the print dialog is accepted.
    void PrintReport();

private:
    void BuildToolBar();
    void Generate(QPrinter* printer);
    void AskAndPrint();

    TQuickRep& report_;
    QPrinter& printer_;
    QPrintPreviewWidget* view_ = nullptr;
    QSpinBox* pageBox_ = nullptr;
    int pages_;
    int page_ = 1;
    bool printing_ = false;
};

}  // namespace mosaiko
