#include "ReportTestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImageReader>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <ZXing/BitMatrix.h>
#include <ZXing/MultiFormatWriter.h>
#include <ZXing/ReadBarcode.h>

#include <cmath>
#include <stdexcept>

namespace mosaiko::test {
namespace {

QByteArray Run(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(120000) || process.exitCode() != 0)
        throw std::runtime_error((program + " failed: " + process.readAllStandardError()).toStdString());
    return process.readAllStandardOutput();
}

}  // namespace

QImage QrPicture(const std::string& text, int magnification) {
    const ZXing::BitMatrix modules = ZXing::MultiFormatWriter(ZXing::BarcodeFormat::QRCode)
                                         .setMargin(4)
                                         .setEncoding(ZXing::CharacterSet::UTF8)
                                         .encode(text, 1, 1);
    QImage picture(256, 256, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    for (int y = 0; y < modules.height(); ++y)
        for (int x = 0; x < modules.width(); ++x)
            if (modules.get(x, y))
                painter.fillRect(x * magnification, y * magnification, magnification,
                                 magnification, Qt::black);
    return picture;
}

std::string DecodeQr(const QImage& page, const QRect& area) {
    const QImage crop = page.copy(area).convertToFormat(QImage::Format_Grayscale8);
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::QRCode);
    hints.setTryHarder(true);
    const ZXing::ImageView view(crop.constBits(), crop.width(), crop.height(),
                                ZXing::ImageFormat::Lum, static_cast<int>(crop.bytesPerLine()));
    const ZXing::Result result = ZXing::ReadBarcode(view, hints);
    return result.isValid() ? result.text() : std::string();
}

std::vector<QImage> PdfImages(const QString& pdf) {
    QTemporaryDir dir;
    Run("pdfimages", {"-png", pdf, dir.filePath("img")});
    std::vector<QImage> images;
    for (const QString& name : QDir(dir.path()).entryList({"img-*.png"}, QDir::Files, QDir::Name))
        images.push_back(QImage(dir.filePath(name)));
    return images;
}

void ExpectExactPictures(const QString& pdf, const std::vector<QImage>& pictures) {
    const std::vector<QImage> images = PdfImages(pdf);
    ASSERT_EQ(images.size(), pictures.size());
    for (size_t i = 0; i < images.size(); ++i) {
        EXPECT_EQ(images[i].depth(), 1) << "picture " << i;
        EXPECT_EQ(images[i].convertToFormat(QImage::Format_Grayscale8),
                  pictures[i].convertToFormat(QImage::Format_Grayscale8))
            << "picture " << i;
    }
}

QString PdfText(const QString& pdf, int page) {
    QStringList args{"-layout", "-enc", "UTF-8"};
    if (page > 0) args << "-f" << QString::number(page) << "-l" << QString::number(page);
    args << pdf << "-";
    return QString::fromUtf8(Run("pdftotext", args));
}

int PdfPageCount(const QString& pdf) {
    const QString info = QString::fromUtf8(Run("pdfinfo", {pdf}));
    const auto match = QRegularExpression(R"(Pages:\s+(\d+))").match(info);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QImage RasterPage(const QString& pdf, int page, int dpi) {
    QTemporaryDir dir;
    const QString prefix = dir.filePath("page");
    Run("pdftoppm", {"-gray", "-png", "-singlefile", "-r", QString::number(dpi), "-f",
                     QString::number(page), "-l", QString::number(page), pdf, prefix});
    // A 600 dpi A4 page is above Qt's default image size limit.
    QImageReader::setAllocationLimit(1024);
    return QImageReader(prefix + ".png").read().convertToFormat(QImage::Format_Grayscale8);
}

QRect MmToRaster(const QRectF& mm, int dpi) {
    const double scale = dpi / 25.4;
    return QRect(static_cast<int>(std::floor(mm.left() * scale)),
                 static_cast<int>(std::floor(mm.top() * scale)),
                 static_cast<int>(std::ceil(mm.width() * scale)),
                 static_cast<int>(std::ceil(mm.height() * scale)));
}

}  // namespace mosaiko::test
