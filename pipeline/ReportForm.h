// The report form: one detail row per group (its text on the left, its QR
// code on the right) under a page header with date, title and page number.
#pragma once

#include <QImage>
#include <functional>
#include <string>

#include "GenerationCheck.h"
#include "LabelText.h"
#include "QuickRep.h"

namespace mosaiko {

class MemoLines;
class SymbolEncoder;

// What the form reads from the main window while a report is generated.
struct ReportSource {
    const MemoLines* memo = nullptr;
    SymbolEncoder* symbols = nullptr;          // encodes each group, kept with the check's
    std::function<int()> version;              // symbol version at the moment of generation
    std::function<int()> sizeIndex;            // symbol size item (pixels per module - 1)
    std::function<std::string()> title;        // report title, Shift-JIS
    std::function<void()> processEvents;       // once per group
};

class TQuickReport1 : public TQuickRep {
public:
    explicit TQuickReport1(ReportSource source, QObject* parent = nullptr);

    // Sizes the detail band, the text and the picture for the groups per page
    // and the font size of the group text.
    void Arrange(int fontSizePoints, int groupsPerPage);

    // The level and segmentation of each generation; the control's defaults when empty.
    std::function<EncodeChoice()> Choice;

    void QuickRepBeforePrint(bool& printIt);
    void QuickRepNeedData(bool& moreData);
    // Moves CurrentLine to the first line of group `group` (0-based) up to
    // LastLine, walking the view's group records without building texts.
    bool QuickRepSkipToRecord(long long group);
    // The groups from the first line to LastLine, as QuickRepNeedData supplies them.
    long long QuickRepRecordCount() const;

    // The components of the form, by their design names.
    TReportBand* QRBand1 = nullptr;
    TReportSysData* QRSysData1 = nullptr;
    TReportLabel* ListTitle = nullptr;
    TReportLabel* QRLabel6 = nullptr;
    TReportSysData* QRSysData2 = nullptr;
    TReportBand* QRBand2 = nullptr;
    TReportLabel* Naiyo = nullptr;
    TReportImage* QRImage = nullptr;

    int CurrentLine = 0;  // first line of the next group to supply, as the view records it
    int LastLine = -1;    // last line of the view when printing started
    std::string CodeText;
    std::string LabelText;

private:
    void BuildHeaderBand();
    void BuildDetailBand();

    ReportSource source_;
};

// The side of a row's QR image (report pixels) at that many groups per page,
// as Arrange lays it out.
int ImageSideFor(int groupsPerPage);
// The pages of a report of that many groups (a detail row each).
long long ReportPagesFor(long long groups, int groupsPerPage);

// How a group's text shows in its row, at a font size and groups per page,
// laid out as the PDF lays out the form's Naiyo label.
class RowTextFit {
public:
    RowTextFit(int fontSizePoints, int groupsPerPage);
    // labelText as AssembleGroup builds it (Shift-JIS, lines ended by CR).
    TextFit Measure(const std::string& labelText) const;

private:
    mutable QImage device_;  // stands for the PDF's resolution; layouts need a non-const device
    QSizeF box_;
    TextStyle style_;
};

}  // namespace mosaiko
