#include "SampleReport.h"

#include "ReportTestSupport.h"
#include "ReportUnits.h"
#include "ShiftJis.h"

#include <algorithm>
#include <cmath>

namespace mosaiko::test {

std::vector<SampleRecord> MakeRecords(int count) {
    std::vector<SampleRecord> records;
    for (int i = 0; i < count; ++i) {
        SampleRecord r;
        const QString n = QString::number(i + 1);
        r.caption = EncodeShiftJis("行" + n + "甲 first\r\nsecond " + n + "乙\r");
        // One group far longer than its row: the row must not grow.
        if (i == 4)
            for (int line = 0; line < 60; ++line) r.caption += "overflow line\r\n";
        r.qrText = "MOSAIKO-ROW-" + std::to_string(i + 1) + "-0123456789-ABCDEFGHIJ";
        r.picture = QrPicture(r.qrText, 1 + i % 2);
        records.push_back(std::move(r));
    }
    return records;
}

SampleReport::SampleReport(int groupsPerPage) : titleText(EncodeShiftJis("月次点検表")) {
    BuildHeader();
    BuildDetail(groupsPerPage);
    form.BeforePrint = [this](bool&) {
        ++beforePrintCalls;
        next_ = 0;
        title->SetCaption(titleText);
    };
    form.OnNeedData = [this](bool& more) {
        more = next_ < records.size();
        if (!more) return;
        supplied.push_back(static_cast<int>(next_));
        text->SetCaption(records[next_].caption);
        image->SetPicture(records[next_].picture);
        ++next_;
    };
    form.OnSkipToRecord = [this](long long record) {
        next_ = static_cast<size_t>(record);
        return true;
    };
}

void SampleReport::BuildHeader() {
    TReportBand& header = form.Band(TBandType::rbPageHeader);
    header.SetBounds(QRect(38, 38, 718, 29));
    header.SetBottomLine(true);
    TReportSysData* date = header.AddSysData();
    date->SetBounds(QRect(4, 4, 129, 17));
    title = header.AddLabel();
    title->SetBounds(QRect(132, 4, 457, 22));
    title->SetAlignment(TAlignment::taCenter);
    title->SetWordWrap(true);
    title->SetFont(QFont(DecodeShiftJis(EncodeShiftJis("ＭＳ Ｐゴシック")), 16));
    TReportLabel* pageCaption = header.AddLabel();
    pageCaption->SetBounds(QRect(640, 4, 21, 17));
    pageCaption->SetCaption("P-");
    TReportSysData* page = header.AddSysData();
    page->SetBounds(QRect(664, 4, 49, 17));
    page->SetData(TSysDataType::sdPageNumber);
}

void SampleReport::BuildDetail(int groupsPerPage) {
    TReportBand& detail = form.Band(TBandType::rbDetail);
    detail.SetBounds(QRect(38, 67, 718, 146));
    detail.SetBottomLine(true);
    const TReportPage& page = form.Page();
    const double room = page.Length() - page.BottomMargin() - page.TopMargin() -
                        form.Band(TBandType::rbPageHeader).Size().Height();
    detail.Size().SetHeight(std::floor(room / groupsPerPage));
    const int h = detail.Height();
    text = detail.AddLabel();
    text->SetWordWrap(true);
    image = detail.AddImage();
    const int side = std::min(h - 4, 255);
    image->SetBounds(QRect(detail.Width() - side - 1, 1, side, side));
    text->SetBounds(QRect(12, 1, detail.Width() - side - 25, h - 4));
}

double SampleReport::DetailMm() const {
    return form.FindBand(TBandType::rbDetail)->Size().Height();
}

QRectF SampleReport::ImageMm(int row) const {
    const TReportPage& page = form.Page();
    const double top = page.TopMargin() + form.FindBand(TBandType::rbPageHeader)->Size().Height() +
                       row * DetailMm();
    const QRect b = image->Bounds();
    return QRectF(page.LeftMargin() + DesignPixelsToMm(b.left()), top + DesignPixelsToMm(b.top()),
                  DesignPixelsToMm(b.width()), DesignPixelsToMm(b.height()));
}

std::vector<QImage> SampleReport::Pictures() const {
    std::vector<QImage> pictures;
    for (const SampleRecord& r : records) pictures.push_back(r.picture);
    return pictures;
}

}  // namespace mosaiko::test
