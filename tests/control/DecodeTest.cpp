// The pictures the control paints are real QR codes: zxing-cpp reads them
// back to the encoded bytes, at every magnification, in colour, with spaces
// and comments, at every angle, in grids, joined, and from a metafile.
#include <gtest/gtest.h>

#include <QTransform>

#include "ControlTestSupport.h"
#include "QrDecodeQt.h"

namespace mosaiko {
namespace {

using test::CellRect;
using test::DecodeImage;
using test::PictureImage;

TEST(Decode, ColoursSpacesAndComments) {
    TQRCode q;
    q.SetSymbolEnabled(false);
    q.SetWidth(220);
    q.SetHeight(220);
    q.SetCode("~0D0A~binary~00~bytes");
    q.SetBinaryOperation(true);
    q.SetVersion(2);
    q.SetPxmag(3);
    q.SetSymbolColor(RGBColor(0, 0, 128));
    q.SetBackColor(RGBColor(255, 255, 200));
    q.SetSymbolLeft(11);
    q.SetSymbolTop(9);
    q.SetSymbolSpaceUp(4);
    q.SetSymbolSpaceDown(25);
    q.SetSymbolSpaceLeft(6);
    q.SetCommentUp("top line, longer than the cell is wide");
    q.SetCommentDown("bottom");
    q.SetCommentDownLoc(locCenter);
    q.SetSymbolEnabled(true);
    ASSERT_TRUE(q.SymbolDisped());
    ASSERT_TRUE(q.Binary());
    const auto decoded = DecodeImage(PictureImage(q));
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->bytes, std::string("\r\nbinary\0bytes", 14));
}

TEST(Decode, EveryAngleAndMagnification) {
    for (int angle : {0, 90, 180, 270}) {
        for (bool match : {false, true}) {
            const int pxmag = 1 + angle / 90;
            SCOPED_TRACE(angle + (match ? 1 : 0));
            TQRCode q;
            q.SetSymbolEnabled(false);
            q.SetWidth(200);
            q.SetHeight(180);
            q.SetVersion(3);
            q.SetEclevel(1);
            q.SetCode("Turned by " + std::to_string(angle) + " at " + std::to_string(pxmag));
            q.SetPxmag(pxmag);
            q.SetSymbolLeft(20);
            q.SetSymbolTop(10);
            q.SetAngle(angle);
            q.SetMatch(match);
            q.SetSymbolEnabled(true);
            const auto decoded = DecodeImage(PictureImage(q));
            ASSERT_TRUE(decoded.has_value());
            EXPECT_EQ(decoded->bytes, q.Code());
            EXPECT_EQ(decoded->ecLevel, "M");
        }
    }
}

TEST(Decode, EachCellOfAGrid) {
    TQRCode q;
    q.SetSymbolEnabled(false);
    q.SetCode(test::SampleText(7 * 40, 3));
    q.SetMode(qrPlus);
    q.SetCount(7);
    q.SetColumn(3);
    q.SetVersion(3);
    q.SetPxmag(2);
    q.SetSymbolSpaceUp(20);
    q.SetSymbolSpaceRight(5);
    q.SetCommentUp("No.");
    q.SetNumbering(nbrTail);
    q.SetMatch(true);
    q.SetSymbolEnabled(true);
    ASSERT_TRUE(q.SymbolDisped());
    ASSERT_EQ(q.Count(), 7);
    const QImage image = PictureImage(q);
    for (int k = 1; k <= 7; ++k) {
        SCOPED_TRACE(k);
        const auto decoded = DecodeImage(image.copy(CellRect(q, k, 0, 0)));
        ASSERT_TRUE(decoded.has_value());
        EXPECT_EQ(decoded->bytes, test::Piece(q, k));
        EXPECT_EQ(decoded->sequenceIndex, -1);
    }
}

TEST(Decode, StructuredAppendCellsCarryPositionTotalAndParity) {
    for (int angle : {0, 90}) {
        SCOPED_TRACE(angle);
        TQRCode q;
        q.SetSymbolEnabled(false);
        const std::string text = test::SampleText(100, 9);
        q.SetCode(text);
        q.SetMode(qrConnect);
        q.SetCount(4);
        q.SetColumn(2);
        q.SetVersion(4);
        q.SetMatch(true);
        q.SetPxmag(2);
        q.SetAngle(angle);
        q.SetSymbolEnabled(true);
        ASSERT_TRUE(q.SymbolDisped());
        const QImage upright = angle == 0 ? PictureImage(q) : PictureImage(q).transformed(QTransform().rotate(-angle));
        std::string joined;
        for (int k = 1; k <= 4; ++k) {
            SCOPED_TRACE(k);
            const auto decoded = DecodeImage(upright.copy(CellRect(q, k, 0, 0)));
            ASSERT_TRUE(decoded.has_value());
            EXPECT_EQ(decoded->sequenceIndex, k - 1);
            EXPECT_EQ(decoded->sequenceSize, 4);
            EXPECT_EQ(decoded->sequenceId, std::to_string(q.Parity()));
            joined += decoded->bytes;
        }
        EXPECT_EQ(joined, text);
    }
}

TEST(Decode, MetafileReplayedIntoAnImage) {
    TQRCode q;
    q.SetSymbolEnabled(false);
    q.SetCode(test::SampleText(60, 5));
    q.SetMode(qrPlus);
    q.SetCount(2);
    q.SetVersion(3);
    q.SetPxmag(3);
    q.SetSymbolSpaceDown(16);
    q.SetCommentDown("metafile");
    q.SetSymbolColor(RGBColor(90, 0, 0));
    q.SetMatch(true);
    q.SetSymbolPicture(picEMF);
    q.SetSymbolEnabled(true);
    ASSERT_TRUE(q.SymbolDisped());
    ASSERT_NE(q.Picture().AsMetafile(), nullptr);
    const QImage image = q.Picture().AsMetafile()->ToQImage();
    for (int k = 1; k <= 2; ++k) {
        SCOPED_TRACE(k);
        const auto decoded = DecodeImage(image.copy(CellRect(q, k, 0, 0)));
        ASSERT_TRUE(decoded.has_value());
        EXPECT_EQ(decoded->bytes, test::Piece(q, k));
    }
}

}  // namespace
}  // namespace mosaiko
