#include "FormatsTestSupport.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include "MetafileCanvas.h"
#include "QrDecode.h"
#include "QrEncoder.h"

namespace mosaiko::test {

TMetafile RecordedSymbol(const std::string& text, const std::string& comment, int pxmag) {
    QrEncoder encoder;
    encoder.SetVersion(3);
    encoder.SetEclevel(1);
    encoder.SetSymbolText(reinterpret_cast<const uint8_t*>(text.data()), static_cast<int>(text.size()));
    if (!encoder.BuildSymbol()) return TMetafile();
    const int n = encoder.ModulesPerSide();
    const int side = (n + 8) * pxmag;
    const int textTop = side;
    TMetafile metafile(side, side + 24);
    TMetafileCanvas canvas(metafile);
    canvas.Brush().SetColor(clWhite);
    canvas.FillRect(0, 0, metafile.Width(), metafile.Height());
    canvas.Brush().SetColor(clBlack);
    const int x0 = 4 * pxmag, y0 = 4 * pxmag;
    for (int r = 0; r < n; ++r) {
        for (int c = 0; c < n;) {
            if (!encoder.ModuleIsDark(r, c)) {
                ++c;
                continue;
            }
            const int c1 = c;
            while (c < n && encoder.ModuleIsDark(r, c)) ++c;
            canvas.FillRect(x0 + c1 * pxmag, y0 + r * pxmag, x0 + c * pxmag, y0 + (r + 1) * pxmag);
        }
    }
    canvas.Brush().SetColor(clYellow);
    canvas.Font().SetName(QStringLiteral("IPAGothic"));
    canvas.Font().SetHeight(16);
    canvas.TextOut(2, textTop, comment);
    canvas.Close();
    return metafile;
}

std::optional<QByteArray> RunProgram(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(10000) || !process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return std::nullopt;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) return std::nullopt;
    return process.readAllStandardOutput();
}

bool HasProgram(const QString& program) { return !QStandardPaths::findExecutable(program).isEmpty(); }

void WriteFile(const QString& path, const std::string& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::string DecodeQr(const QImage& image) {
    if (image.isNull()) return {};
    // Transparent areas (a reader's page outside the picture) count as white.
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    {
        QPainter painter(&flat);
        painter.drawImage(0, 0, image);
    }
    const QImage grey = flat.convertToFormat(QImage::Format_Grayscale8);
    const auto decoded = DecodeImage(grey.constBits(), grey.width(), grey.height(), static_cast<int>(grey.bytesPerLine()));
    return decoded ? decoded->bytes : std::string();
}

}  // namespace mosaiko::test
