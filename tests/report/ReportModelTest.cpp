// Sizes, settings and texts of the report model, without drawing.
#include "LabelText.h"
#include "QuickRep.h"
#include "ShiftJis.h"

#include <QDateTime>
#include <QLocale>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace mosaiko {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(BandSize, MillimetresAndDesignPixelsFollowEachOther) {
    TQuickRep form;
    TReportBand& header = form.Band(TBandType::rbPageHeader);
    EXPECT_EQ(&header, &form.Band(TBandType::rbPageHeader));
    EXPECT_EQ(header.Width(), 718);  // the width between 10 mm margins on A4
    header.SetBounds(QRect(38, 38, 718, 29));
    EXPECT_NEAR(header.Size().Height(), 7.673, 0.001);
    EXPECT_NEAR(header.Size().Width(), 189.97, 0.01);

    // Detail heights for 1, 2, 4, 8 and 20 groups per page, and their pixels.
    const std::pair<int, int> expected[] = {{1, 1017}, {2, 506}, {4, 253}, {8, 125}, {20, 49}};
    TReportBand& detail = form.Band(TBandType::rbDetail);
    const TReportPage& page = form.Page();
    for (auto [groups, pixels] : expected) {
        const double room =
            page.Length() - page.BottomMargin() - page.TopMargin() - header.Size().Height();
        detail.Size().SetHeight(std::floor(room / groups));
        EXPECT_EQ(detail.Height(), pixels) << groups << " groups per page";
    }
}

TEST(Settings, OutOfRangeValuesAreIgnored) {
    TQuickRep form;
    TReportPage& page = form.Page();
    for (double bad : {-1.0, kNaN, 280.0, 1e9}) {
        page.SetTopMargin(bad);
        page.SetLeftMargin(bad);
    }
    for (double bad : {-1.0, kNaN, 20.0, 1e9}) page.SetLength(bad);
    page.SetZoom(0);
    EXPECT_EQ(page.TopMargin(), 10);
    EXPECT_EQ(page.LeftMargin(), 10);
    EXPECT_EQ(page.Length(), 297);
    EXPECT_EQ(page.Zoom(), 100);
    page.SetBottomMargin(20);
    EXPECT_EQ(page.PrintableBottom(), 277);

    TReportBand& band = form.Band(TBandType::rbDetail);
    band.Size().SetHeight(33);
    band.Size().SetHeight(0);
    band.Size().SetHeight(kNaN);
    band.SetHeight(-5);
    EXPECT_EQ(band.Size().Height(), 33);

    TReportLabel* label = band.AddLabel();
    label->SetBounds(QRect(1, 2, 30, 40));
    label->SetWidth(-3);
    label->SetHeight(5'000'000);
    EXPECT_EQ(label->Bounds(), QRect(1, 2, 30, 40));
    label->SetFontSize(12);
    label->SetFontSize(0);
    label->SetFontSize(kNaN);
    EXPECT_EQ(label->FontSize(), 12);
    QFont pixelFont;
    pixelFont.setPixelSize(12);
    label->SetFont(pixelFont);
    EXPECT_EQ(label->FontSize(), 9);  // 12 design pixels at 96 per inch
}

TEST(CaptionLines, CarriageReturnBreaksAndLineFeedVanishes) {
    EXPECT_EQ(CaptionLines("a\r\nb\r"), (QStringList{"a", "b"}));
    EXPECT_EQ(CaptionLines("a\n\rb"), (QStringList{"a", "b"}));
    EXPECT_EQ(CaptionLines("ab\ncd"), (QStringList{"abcd"}));
    EXPECT_EQ(CaptionLines("\r\r"), (QStringList{"", ""}));
    EXPECT_TRUE(CaptionLines("\n").isEmpty());
    EXPECT_EQ(CaptionLines(EncodeShiftJis("日本\r語")), (QStringList{"日本", "語"}));
    EXPECT_EQ(CaptionLines("1\r2\r3\r4", 2), (QStringList{"1", "2"}));
}

TEST(SysDataValue, DateLeavesOutMidnightAndPagesAreDigits) {
    const QLocale locale = QLocale::system();
    const QDate day(2024, 3, 9);
    const QString date = locale.toString(day, QLocale::ShortFormat);
    EXPECT_EQ(SysDataValue(TSysDataType::sdDateTime, QDateTime(day, QTime(0, 0)), 1, locale),
              date);
    const QTime noon(12, 34, 56);
    EXPECT_EQ(SysDataValue(TSysDataType::sdDateTime, QDateTime(day, noon), 1, locale),
              date + " " + locale.toString(noon, QLocale::LongFormat));
    EXPECT_EQ(SysDataValue(TSysDataType::sdPageNumber, QDateTime(), 12, locale), "12");
}

}  // namespace
}  // namespace mosaiko
