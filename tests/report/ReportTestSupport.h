// Outside views of a finished report: QR pictures made by zxing-cpp, and the
// poppler tools that read a PDF back as text and as pixels.
#pragma once

#include <QImage>
#include <QRectF>
#include <QString>
#include <string>
#include <vector>

namespace mosaiko::test {

// A 256 x 256 white picture with the symbol of text (quiet zone included)
// drawn from its top-left corner, magnification pixels per module.
QImage QrPicture(const std::string& text, int magnification);

// Decodes the one QR symbol inside the given area of a page raster; empty
// when nothing decodes.
std::string DecodeQr(const QImage& page, const QRect& area);

// The images embedded in a PDF (pdfimages), in the order they were written.
std::vector<QImage> PdfImages(const QString& pdf);
// Expects the PDF's images to be exactly these pictures, in order, each as a
// 1-bit image: nothing resampled, whatever size the rows show them at.
void ExpectExactPictures(const QString& pdf, const std::vector<QImage>& pictures);

// pdftotext -layout of one page (1-based), or of all pages with page 0.
QString PdfText(const QString& pdf, int page = 0);
int PdfPageCount(const QString& pdf);
// pdftoppm, grey, one page.
QImage RasterPage(const QString& pdf, int page, int dpi);

// Millimetres on the page to pixels of a raster at dpi.
QRect MmToRaster(const QRectF& mm, int dpi);

}  // namespace mosaiko::test
