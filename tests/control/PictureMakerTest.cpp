// The regeneration on a plain picture (TQRPictureMaker, no widget) paints
// exactly what the control paints, for the same settings.
#include <gtest/gtest.h>

#include <QObject>
#include <functional>
#include <type_traits>

#include "ControlTestSupport.h"
#include "EmfWriter.h"

namespace mosaiko {
namespace {

static_assert(!std::is_base_of_v<QObject, TQRPictureMaker>, "the picture maker is no widget");

struct Settings {
    const char* name;
    std::function<void(TQRSymbols&)> apply;
};

void Comments(TQRSymbols& q) {
    q.SetSymbolSpaceUp(18);
    q.SetSymbolSpaceDown(18);
    q.SetCommentUp("上 Page");
    q.SetCommentDown("down");
    q.SetCommentDownLoc(locCenter);
    q.SetNumbering(nbrTail);
}

const Settings kSettings[] = {
    {"BitmapOnTheSurfaceSizeTurned",
     [](TQRSymbols& q) {
         q.SetCode("HELLO 0123 漢字");
         q.SetVersion(2);
         q.SetSymbolLeft(7);
         q.SetSymbolTop(3);
         q.SetAngle(90);
     }},
    {"MatchedBitmapWithCommentsInAGridTurned",
     [](TQRSymbols& q) {
         Comments(q);
         q.SetCode(test::SampleText(60));
         q.SetVersion(3);
         q.SetPxmag(2);
         q.SetCount(3);
         q.SetColumn(2);
         q.SetMatch(true);
         q.SetAngle(270);
     }},
    {"MetafileWithCommentsOfConnectedSymbols",
     [](TQRSymbols& q) {
         Comments(q);
         q.SetCode(test::SampleText(40, 1));
         q.SetVersion(2);
         q.SetMode(qrConnect);
         q.SetSymbolColor(RGBColor(0, 0, 128));
         q.SetMatch(true);
         q.SetSymbolPicture(picEMF);
     }},
};

void Configure(TQRSymbols& q, const Settings& settings) {
    q.SetSymbolEnabled(false);
    settings.apply(q);
    q.SetSymbolEnabled(true);
}

TEST(PictureMaker, PaintsWhatTheControlPaints) {
    for (const Settings& settings : kSettings) {
        SCOPED_TRACE(settings.name);
        TQRCode control;
        TQRPictureMaker maker;
        Configure(control, settings);
        Configure(maker, settings);
        ASSERT_TRUE(control.SymbolDisped());
        EXPECT_TRUE(maker.SymbolDisped());
        EXPECT_EQ(maker.Width(), control.Width());
        EXPECT_EQ(maker.Height(), control.Height());
        ASSERT_EQ(maker.Picture().Kind(), control.Picture().Kind());
        if (const TMetafile* metafile = control.Picture().AsMetafile())
            EXPECT_EQ(WriteEmf(*maker.Picture().AsMetafile()), WriteEmf(*metafile));
        else
            EXPECT_EQ(maker.Picture().AsBitmap()->ToQImage(), control.Picture().AsBitmap()->ToQImage());
    }
}

}  // namespace
}  // namespace mosaiko
