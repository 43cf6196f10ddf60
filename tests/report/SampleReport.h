// A report laid out like the application's list report: a page header with
// the date and time, the title, "P-" and the page number; one detail row per
// record with its text on the left and its QR picture on the right.
#pragma once

#include "QuickRep.h"

#include <QImage>
#include <QRectF>
#include <string>
#include <vector>

namespace mosaiko::test {

struct SampleRecord {
    std::string caption;  // Shift-JIS
    std::string qrText;
    QImage picture;
};

// count records; the QR pictures alternate between 1 and 2 pixels per module.
std::vector<SampleRecord> MakeRecords(int count);

class SampleReport {
public:
    explicit SampleReport(int groupsPerPage);

    // Where the picture of row `row` (0-based on its page) lands on the paper.
    QRectF ImageMm(int row) const;
    double DetailMm() const;
    // The records' pictures, in record order.
    std::vector<QImage> Pictures() const;

    TQuickRep form;
    TReportLabel* title = nullptr;
    TReportLabel* text = nullptr;
    TReportImage* image = nullptr;
    std::vector<SampleRecord> records;
    std::string titleText;
    int beforePrintCalls = 0;
    std::vector<int> supplied;  // record indexes in the order the engine took them

private:
    void BuildHeader();
    void BuildDetail(int groupsPerPage);
    size_t next_ = 0;
};

}  // namespace mosaiko::test
