// The program's own qCompress, which Qt's PDF writer calls for every picture
// and font stream: Qt's format, read back by qUncompress, no larger than Qt's
// own, and the definition Qt's calls are bound to.
#include "ReportTestSupport.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <random>

namespace mosaiko::test {
namespace {

using Compress = QByteArray (*)(const uchar*, qsizetype, int);

QByteArray QtsOwn(const QByteArray& data, int level) {
    static const auto qt = reinterpret_cast<Compress>(dlsym(RTLD_NEXT, "_Z9qCompressPKhxi"));
    return qt(reinterpret_cast<const uchar*>(data.constData()), data.size(), level);
}

// The rows of one-bit QR pictures of one pixel per module, as the PDF writer
// hands them over: twenty of a report's kind of rows.
QByteArray PictureBytes(int row = 0) {
    const std::string text = "1," + std::to_string(10000 + row) + ",ABC-" + std::to_string(700000 + row * 7919) +
                             std::string(200, 'x');
    const QImage picture = QrPicture(text, 1);
    const QImage mono = picture.copy(0, 0, 80, 80).convertToFormat(QImage::Format_Mono);
    QByteArray rows;
    for (int y = 0; y < mono.height(); ++y)
        rows.append(reinterpret_cast<const char*>(mono.constScanLine(y)), (mono.width() + 7) / 8);
    return rows;
}

QByteArray Pictures() {
    QByteArray all;
    for (int row = 0; row < 20; ++row) all += PictureBytes(row);
    return all;
}

// The start of the font the report embeds a subset of.
QByteArray FontBytes() {
    QFile font(QStringLiteral("/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf"));
    return font.open(QIODevice::ReadOnly) ? font.read(200000) : QByteArray();
}

// A character map as the PDF writer makes one for each font.
QByteArray CharacterMap() {
    QByteArray map;
    for (int i = 0; i < 300; ++i)
        map += QStringLiteral("<%1> <%2>\n").arg(i, 4, 16, QLatin1Char('0')).arg(0x3000 + i * 7 % 500, 4, 16).toLatin1();
    return map;
}

QByteArray RandomBytes(int size) {
    std::mt19937 random(7);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& b : bytes) b = static_cast<char>(random());
    return bytes;
}

TEST(PdfStreamCompression, QtsCallsAreBoundToThisDefinition) {
    EXPECT_EQ(dlsym(RTLD_DEFAULT, "_Z9qCompressPKhxi"),
              reinterpret_cast<void*>(static_cast<Compress>(&qCompress)));
    EXPECT_NE(dlsym(RTLD_NEXT, "_Z9qCompressPKhxi"), dlsym(RTLD_DEFAULT, "_Z9qCompressPKhxi"));
}

TEST(PdfStreamCompression, ReadsBackAsItWasAtEveryLevel) {
    const QByteArray cases[] = {Pictures(), FontBytes(), CharacterMap(), QByteArray("A"),
                                RandomBytes(70000), QByteArray(1 << 20, '\0')};
    for (const QByteArray& data : cases) {
        for (int level : {-1, 0, 1, 5, 9}) {
            SCOPED_TRACE(testing::Message() << data.size() << " bytes, level " << level);
            EXPECT_EQ(qUncompress(qCompress(data, level)), data);
        }
    }
}

// The PDF writer asks for the default level for pictures, fonts and maps.
TEST(PdfStreamCompression, WhatThePdfWriterCompressesIsNoLargerThanWithQtsOwn) {
    const struct {
        const char* name;
        QByteArray data;
    } cases[] = {{"font", FontBytes()}, {"character map", CharacterMap()}};
    for (const auto& c : cases) {
        ASSERT_GT(c.data.size(), 1000) << c.name;
        EXPECT_LE(qCompress(c.data).size(), QtsOwn(c.data, -1).size()) << c.name;
    }
    // Pictures one stream each, as in a report: no larger in all.
    qsizetype ours = 0, qts = 0;
    for (int row = 0; row < 20; ++row) {
        ours += qCompress(PictureBytes(row)).size();
        qts += QtsOwn(PictureBytes(row), -1).size();
    }
    EXPECT_LE(ours, qts);
}

TEST(PdfStreamCompression, EmptyAndMissingDataAsQtHasThem) {
    EXPECT_EQ(qCompress(QByteArray()), QByteArray(4, '\0'));
    EXPECT_EQ(qCompress(static_cast<const uchar*>(nullptr), 10), QByteArray());
}

}  // namespace
}  // namespace mosaiko::test
