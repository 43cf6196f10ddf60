// The printed module size, its advisory, and what the report's PDF gives a
// real decoder at office printer and fine scanner resolutions.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>

#include "GenerationCheck.h"
#include "Import.h"
#include "PrintAdvice.h"
#include "QRCode3.h"
#include "QRHost.h"
#include "ReportForm.h"
#include "SymbolParameters.h"
#include "QrDecodeQt.h"

namespace mosaiko {
namespace {

const int kPerPage[] = {1, 2, 4, 8, 20};
const int kVersions[] = {3, 9, 20};

bool Fits(int version, int magnification) { return (4 * version + 25) * magnification <= 256; }

TEST(PrintAdvice, ModuleSizeFollowsTheImageSideAndMagnification) {
    EXPECT_EQ(ImageSideFor(8), 121);
    EXPECT_EQ(ImageSideFor(20), 45);
    EXPECT_EQ(ImageSideFor(1), 255);
    EXPECT_NEAR(PrintedModuleMm(121, 1), 0.125, 0.001);
    EXPECT_NEAR(PrintedModuleMm(255, 4), 1.054, 0.001);
}

TEST(PrintAdvice, WarnsExactlyBelowTheReadableSizeAndSuggestsAFittingChange) {
    for (int perPage : kPerPage)
        for (int version : kVersions)
            for (int mag = 1; mag <= 4; ++mag) {
                if (!Fits(version, mag)) continue;
                const ModuleAdvice a = AdviseModule(version, mag, perPage, ImageSideFor);
                const double mm = PrintedModuleMm(ImageSideFor(perPage), mag);
                SCOPED_TRACE(testing::Message() << perPage << "/" << version << "/" << mag);
                EXPECT_EQ(a.readable, mm >= kMinReadableModuleMm);
                const std::string text = AdviceText(a);
                EXPECT_EQ(text.find("未満") != std::string::npos, !a.readable);
                if (a.readable) continue;
                ASSERT_TRUE(a.magnification > 0 || a.groupsPerPage > 0);
                if (a.magnification > 0) {
                    EXPECT_TRUE(Fits(version, a.magnification));
                    EXPECT_GE(PrintedModuleMm(ImageSideFor(perPage), a.magnification), kMinReadableModuleMm);
                    EXPECT_NE(text.find("倍角サイズ"), std::string::npos);
                } else {
                    EXPECT_LT(a.groupsPerPage, perPage);
                    EXPECT_GE(PrintedModuleMm(ImageSideFor(a.groupsPerPage), mag), kMinReadableModuleMm);
                    EXPECT_LT(PrintedModuleMm(ImageSideFor(a.groupsPerPage + 1), mag), kMinReadableModuleMm);
                }
            }
    // Version 40 at one pixel per module cannot grow: fewer groups per page.
    const ModuleAdvice big = AdviseModule(40, 1, 8, ImageSideFor);
    EXPECT_EQ(big.magnification, 0);
    EXPECT_EQ(big.groupsPerPage, 4);
}

// The encoder the check and the report share, and the window's hidden
// 256 x 256 control, built as the window builds it, which the window's check
// leaves holding the last group's symbol.
struct Host {
    SymbolEncoder symbols;
    TQRHost host;
    TQRCode* qr = host.QRCode1;
    CheckOutcome Check(const MemoLines& memo, int version, int sizeIndex, const RowTextFit* rows = nullptr) {
        CheckOutcome out = RunGenerationCheck(memo, symbols, version, sizeIndex, {}, rows);
        ShowLastGroup(*qr, out, version, sizeIndex);
        return out;
    }
};

// The rows' QR pictures as a raster of the area right of the text column.
std::vector<std::string> DecodeRaster(const QString& pdf, const QString& dir, int dpi, double bandMm, int rows) {
    const double pxPerMm = dpi / 25.4;
    const double leftMm = 10 + 440 * 25.4 / 96;
    std::vector<std::string> found;
    for (int row = 0; row < rows; ++row) {
        const double topMm = 10 + 7.673 + row * bandMm;
        const QString out = dir + QString("/row%1-%2").arg(dpi).arg(row);
        QProcess p;
        p.start("pdftoppm", {"-r", QString::number(dpi), "-gray", "-png", "-singlefile", "-f", "1", "-l", "1",
                             "-x", QString::number(int(leftMm * pxPerMm)), "-y", QString::number(int(topMm * pxPerMm)),
                             "-W", QString::number(int(82 * pxPerMm)),
                             "-H", QString::number(int(std::min(bandMm, 70.0) * pxPerMm)), pdf, out});
        p.waitForFinished(60000);
        const auto d = test::DecodeImage(QImage(out + ".png"));
        found.push_back(d ? d->bytes : std::string());
    }
    return found;
}

// The embedded pictures' data; each holds just its symbol and quiet zone,
// side x side pixels.
std::vector<std::string> DecodeEmbedded(const QString& pdf, const QString& dir, int side) {
    QProcess p;
    p.start("pdfimages", {"-png", pdf, dir + "/img"});
    p.waitForFinished(60000);
    std::vector<std::string> found;
    for (const QString& name : QDir(dir).entryList({"img-*.png"}, QDir::Files, QDir::Name)) {
        const QImage image(dir + "/" + name);
        EXPECT_EQ(image.size(), QSize(side, side)) << name.toStdString();
        const auto d = test::DecodeImage(image);
        found.push_back(d ? d->bytes : std::string());
    }
    return found;
}

// Every setting: the embedded pictures always decode; the page decodes at
// 300 dpi from 0.25 mm modules on, at 600 dpi from 0.125 mm.
TEST(PrintAdvice, ReportDecodesWhereverTheModuleIsLargeEnough) {
    Host host;
    MemoLines memo;
    ASSERT_EQ(ImportBytes("1,Shelf A-12 bolts\r\n1,Shelf B-7 nuts ~ and tabs\t.\r\n", memo).outcome,
              ImportOutcome::Done);
    const std::vector<std::string> expected{"Shelf A-12 bolts\r\n", "Shelf B-7 nuts ~ and tabs\t.\r\n"};
    for (int perPage : kPerPage)
        for (int version : kVersions)
            for (int mag = 1; mag <= 4; ++mag) {
                if (!Fits(version, mag)) continue;
                SCOPED_TRACE(testing::Message() << perPage << "/" << version << "/" << mag);
                ASSERT_TRUE(host.Check(memo, version, mag - 1).Passed());
                TQuickReport1 form(ReportSource{&memo, &host.symbols, [=] { return version; }, [=] { return mag - 1; },
                                                [] { return std::string("t"); }, {}});
                form.LastLine = static_cast<int>(memo.Count()) - 1;
                form.Arrange(10, perPage);
                QTemporaryDir dir;
                const QString pdf = dir.path() + "/r.pdf";
                ASSERT_TRUE(form.ExportToPdf(pdf));
                const int side = (SymbolParameters[version].ModulesPerSide + 2 * kQuietModules) * mag;
                EXPECT_EQ(DecodeEmbedded(pdf, dir.path(), side), expected);
                const double mm = PrintedModuleMm(ImageSideFor(perPage), mag);
                const double bandMm = form.QRBand2->Size().Height();
                const int rows = std::min(perPage, 2);
                const std::vector<std::string> want(expected.begin(), expected.begin() + rows);
                if (mm >= kMinReadableModuleMm) {
                    EXPECT_EQ(DecodeRaster(pdf, dir.path(), 300, bandMm, rows), want);
                }
                if (mm >= kMinReadableModuleMm / 2) {
                    EXPECT_EQ(DecodeRaster(pdf, dir.path(), 600, bandMm, rows), want);
                }
            }
}

}  // namespace
}  // namespace mosaiko
