#include "ReportForm.h"

#include <algorithm>
#include <cmath>

#include "GenerationCheck.h"
#include "GroupAssembly.h"
#include "SymbolPicture.h"
#include "ReportRun.h"
#include "ReportUnits.h"
#include "ShiftJis.h"

namespace mosaiko {
namespace {

constexpr char kGothic[] = "ＭＳ Ｐゴシック";
constexpr char kMincho[] = "ＭＳ Ｐ明朝";
constexpr int kMaxImageSide = kHostPictureSide - 1;  // so the picture is never enlarged past it

QFont DesignFont(const char* family, double points) {
    QFont font(QString::fromUtf8(family));
    font.setPointSizeF(points);
    return font;
}

}  // namespace

TQuickReport1::TQuickReport1(ReportSource source, QObject* parent) : TQuickRep(parent), source_(std::move(source)) {
    setObjectName("QuickReport1");
    Page().SetTopMargin(10);
    Page().SetBottomMargin(10);
    Page().SetLeftMargin(10);
    Page().SetRightMargin(10);
    Page().SetLength(297);
    Page().SetZoom(100);
    SetPrintIfEmpty(true);
    BuildHeaderBand();
    BuildDetailBand();
    BeforePrint = [this](bool& printIt) { QuickRepBeforePrint(printIt); };
    OnNeedData = [this](bool& moreData) { QuickRepNeedData(moreData); };
    OnSkipToRecord = [this](long long group) { return QuickRepSkipToRecord(group); };
    RecordCount = [this] { return QuickRepRecordCount(); };
}

void TQuickReport1::BuildHeaderBand() {
    QRBand1 = &Band(TBandType::rbPageHeader);
    QRBand1->SetBounds(QRect(38, 38, 718, 29));
    QRBand1->SetColor(Qt::white);
    QRBand1->SetBottomLine(true);

    QRSysData1 = QRBand1->AddSysData();
    QRSysData1->SetBounds(QRect(4, 4, 129, 17));
    QRSysData1->SetData(TSysDataType::sdDateTime);
    QRSysData1->SetFontSize(9);

    ListTitle = QRBand1->AddLabel();
    ListTitle->SetBounds(QRect(132, 4, 457, 22));
    ListTitle->SetAlignment(TAlignment::taCenter);
    ListTitle->SetWordWrap(true);
    ListTitle->SetFont(DesignFont(kGothic, 16));
    ListTitle->SetCaption(EncodeShiftJis(QString::fromUtf8("帳票タイトル")));  // replaced before printing

    QRLabel6 = QRBand1->AddLabel();
    QRLabel6->SetBounds(QRect(640, 4, 21, 17));
    QRLabel6->SetCaption("P-");
    QRLabel6->SetFontSize(9);

    QRSysData2 = QRBand1->AddSysData();
    QRSysData2->SetBounds(QRect(664, 4, 49, 17));
    QRSysData2->SetData(TSysDataType::sdPageNumber);
    QRSysData2->SetFontSize(9);
}

void TQuickReport1::BuildDetailBand() {
    QRBand2 = &Band(TBandType::rbDetail);
    QRBand2->SetBounds(QRect(38, 67, 718, 146));
    QRBand2->SetColor(Qt::white);
    QRBand2->SetBottomLine(true);

    Naiyo = QRBand2->AddLabel();
    Naiyo->SetBounds(QRect(12, 1, 541, 141));
    Naiyo->SetAlignment(TAlignment::taLeftJustify);
    Naiyo->SetWordWrap(true);
    Naiyo->SetFont(DesignFont(kMincho, 9));
    Naiyo->SetCaption("Naiyo");

    QRImage = QRBand2->AddImage();
    QRImage->SetBounds(QRect(564, 1, 140, 140));
}

void TQuickReport1::Arrange(int fontSizePoints, int groupsPerPage) {
    Naiyo->SetFontSize(fontSizePoints);
    const TReportPage& page = Page();
    const double room = page.Length() - page.BottomMargin() - page.TopMargin() - QRBand1->Size().Height();
    QRBand2->Size().SetHeight(std::floor(room / std::max(1, groupsPerPage)));
    const int h = QRBand2->Height();
    Naiyo->SetHeight(h - 4);
    QRImage->SetHeight(std::min(h - 4, kMaxImageSide));
    QRImage->SetWidth(QRImage->Height());
    QRImage->SetLeft(QRBand2->Width() - QRImage->Width() - 1);
    Naiyo->SetWidth(QRBand2->Width() - QRImage->Width() - 25);
}

void TQuickReport1::QuickRepBeforePrint(bool& /*printIt*/) {
    CurrentLine = 0;
    ListTitle->SetCaption(source_.title ? source_.title() : std::string());
    SetTitle(DecodeShiftJis(ListTitle->Caption()));
}

void TQuickReport1::QuickRepNeedData(bool& moreData) {
    if (CurrentLine > LastLine || !source_.memo || !source_.symbols) {
        moreData = false;
        return;
    }
    const GroupTexts group = AssembleGroup(*source_.memo, static_cast<size_t>(CurrentLine),
                                           static_cast<size_t>(LastLine));
    CodeText = group.codeText;
    LabelText = group.labelText;
    const EncodeChoice choice = Choice ? Choice() : EncodeChoice{};
    const SymbolResult& symbol =
        EncodeGroupData(*source_.symbols, group.data, source_.version(), source_.sizeIndex(), choice);
    if (source_.processEvents) source_.processEvents();
    Naiyo->SetCaption(LabelText);
    // Only the symbol and its quiet zone go out, placed and scaled as in the
    // host picture; the rest of that picture is white, as the paper is.
    QRImage->SetPicture(SymbolImage(symbol, kHostPictureSide));
    QRImage->SetFrame(QSize(kHostPictureSide, kHostPictureSide));
    CurrentLine = static_cast<int>(group.next);
    moreData = true;
}

bool TQuickReport1::QuickRepSkipToRecord(long long group) {
    if (!source_.memo) return group == 0;
    const size_t bound = static_cast<size_t>(std::max(LastLine, 0));
    size_t line = 0;
    for (long long g = 0; g < group && static_cast<long long>(line) <= LastLine; ++g)
        line = GroupBounds(*source_.memo, line, bound).next;
    CurrentLine = static_cast<int>(line);
    return true;
}

long long TQuickReport1::QuickRepRecordCount() const {
    if (!source_.memo || !source_.symbols) return 0;
    const size_t bound = static_cast<size_t>(std::max(LastLine, 0));
    long long groups = 0;
    for (size_t line = 0; static_cast<long long>(line) <= LastLine; ++groups) {
        const size_t next = GroupBounds(*source_.memo, line, bound).next;
        if (next <= line) return -1;  // a bound past the view's lines: not known ahead
        line = next;
    }
    return groups;
}

int ImageSideFor(int groupsPerPage) {
    TQuickReport1 form{ReportSource{}};
    form.Arrange(9, groupsPerPage);
    return form.QRImage->Width();
}

long long ReportPagesFor(long long groups, int groupsPerPage) {
    TQuickReport1 form{ReportSource{}};
    form.Arrange(9, groupsPerPage);
    return ReportRun::PagesFor(form, groups);
}

RowTextFit::RowTextFit(int fontSizePoints, int groupsPerPage) : device_(1, 1, QImage::Format_Mono) {
    TQuickReport1 form{ReportSource{}};
    form.Arrange(fontSizePoints, groupsPerPage);
    const double dotsPerMetre = TQuickRep::kPdfResolution / kMillimetresPerInch * 1000;
    device_.setDotsPerMeterX(static_cast<int>(std::lround(dotsPerMetre)));
    device_.setDotsPerMeterY(static_cast<int>(std::lround(dotsPerMetre)));
    const double dotsPerMm = TQuickRep::kPdfResolution / kMillimetresPerInch;
    box_ = QSizeF(DesignPixelsToMm(form.Naiyo->Width()) * dotsPerMm, DesignPixelsToMm(form.Naiyo->Height()) * dotsPerMm);
    // Resolved for the device once, so each measurement reuses its font engines.
    style_ = {QFont(form.Naiyo->Font(), &device_), form.Naiyo->Alignment(), form.Naiyo->WordWrap()};
}

TextFit RowTextFit::Measure(const std::string& labelText) const {
    return FitCaption(&device_, box_, labelText, style_);
}

}  // namespace mosaiko
