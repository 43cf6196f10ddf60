// The page header's date and time fit their field in every locale: a value
// too wide loses the time zone, then the seconds, never the date.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFontMetricsF>
#include <QPdfWriter>

#include "LabelText.h"
#include "QuickRep.h"
#include "ReportForm.h"

namespace mosaiko {
namespace {

TEST(HeaderLocale, DateAndTimeStayInsideTheirFieldInEveryLocale) {
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    QPdfWriter writer(&pdf);
    writer.setResolution(TQuickRep::kPdfResolution);
    const TQuickReport1 form{ReportSource{}};
    const TReportSysData& field = *form.QRSysData1;
    // The field's design width (96 pixels an inch) on the PDF writer.
    const double width = field.Bounds().width() * TQuickRep::kPdfResolution / 96.0;
    const TextStyle style{field.Font(), field.Alignment(), false};
    const QFontMetricsF metrics(field.Font(), &writer);
    const auto fits = [&](const QString& text) { return LineFitsWidth(&writer, width, text, style); };
    const QDate day(2026, 12, 31);
    for (const char* name : {"ja_JP", "C", "en_US", "de_DE"}) {
        const QLocale locale(QString::fromLatin1(name));
        for (const QTime time : {QTime(20, 59, 10), QTime(3, 4, 5), QTime(0, 0)}) {
            SCOPED_TRACE(testing::Message() << name << " " << time.toString().toStdString());
            const QString text = SysDataValue(TSysDataType::sdDateTime, QDateTime(day, time), 1, locale, fits);
            EXPECT_LE(metrics.horizontalAdvance(text), width) << text.toStdString();
            const QString date = locale.toString(day, QLocale::ShortFormat);
            EXPECT_TRUE(text.startsWith(date)) << text.toStdString();
            // The time shows, at least to the minute, unless it is midnight.
            if (time == QTime(0, 0)) {
                EXPECT_EQ(text, date);
            } else {
                EXPECT_TRUE(text.contains(locale.toString(time, QStringLiteral(":mm")))) << text.toStdString();
            }
        }
    }
}

}  // namespace
}  // namespace mosaiko
