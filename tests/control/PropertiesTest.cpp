// Property setters: ranges, what regenerates and what does not, the rules
// that tie properties together, sizes, events and the consistency check.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <functional>
#include <vector>

#include "ControlTestSupport.h"

namespace mosaiko {
namespace {

using test::CountingQRCode;

struct Rejected {
    const char* name;
    std::function<void(TQRCode&)> set;
    std::function<int(const TQRCode&)> get;
};

TEST(Properties, OutOfRangeValuesAreIgnoredWithoutRegenerating) {
    const std::vector<Rejected> cases = {
        {"Version 41", [](TQRCode& q) { q.SetVersion(41); }, [](const TQRCode& q) { return q.Version(); }},
        {"Version 0", [](TQRCode& q) { q.SetVersion(0); }, [](const TQRCode& q) { return q.Version(); }},
        {"Pxmag 11", [](TQRCode& q) { q.SetPxmag(11); }, [](const TQRCode& q) { return q.Pxmag(); }},
        {"Pxmag 0", [](TQRCode& q) { q.SetPxmag(0); }, [](const TQRCode& q) { return q.Pxmag(); }},
        {"Eclevel 4", [](TQRCode& q) { q.SetEclevel(4); }, [](const TQRCode& q) { return q.Eclevel(); }},
        {"Emode -2", [](TQRCode& q) { q.SetEmode(-2); }, [](const TQRCode& q) { return q.Emode(); }},
        {"Masktype 8", [](TQRCode& q) { q.SetMasktype(8); }, [](const TQRCode& q) { return q.Masktype(); }},
        {"Angle 45", [](TQRCode& q) { q.SetAngle(45); }, [](const TQRCode& q) { return q.Angle(); }},
        {"Count 1025", [](TQRCode& q) { q.SetCount(1025); }, [](const TQRCode& q) { return q.Count(); }},
        {"Count 0", [](TQRCode& q) { q.SetCount(0); }, [](const TQRCode& q) { return q.Count(); }},
        {"Column 0", [](TQRCode& q) { q.SetColumn(0); }, [](const TQRCode& q) { return q.Column(); }},
        {"Column 1025", [](TQRCode& q) { q.SetColumn(1025); }, [](const TQRCode& q) { return q.Column(); }},
        {"Mode 3", [](TQRCode& q) { q.SetMode(static_cast<TQRMode>(3)); },
         [](const TQRCode& q) { return static_cast<int>(q.Mode()); }},
        {"Numbering 4", [](TQRCode& q) { q.SetNumbering(static_cast<TNumbering>(4)); },
         [](const TQRCode& q) { return static_cast<int>(q.Numbering()); }},
    };
    for (const Rejected& c : cases) {
        SCOPED_TRACE(c.name);
        CountingQRCode q;
        q.SetCode("HELLO");
        const int before = c.get(q);
        const int paints = q.paints;
        const QImage picture = test::PictureImage(q);
        c.set(q);
        EXPECT_EQ(c.get(q), before);
        EXPECT_EQ(q.paints, paints);
        EXPECT_EQ(test::PictureImage(q), picture);
    }
    // In range: stored, one regeneration each; the same text regenerates again.
    CountingQRCode q;
    q.SetCode("HELLO");
    const int paints = q.paints;
    q.SetVersion(40);
    q.SetAngle(270);
    q.SetCode("HELLO");
    EXPECT_EQ(q.paints, paints + 3);
    EXPECT_EQ(q.Version(), 40);
    EXPECT_EQ(q.Angle(), 270);
}

TEST(Properties, ModeAdjustsCount) {
    TQRCode q;
    q.SetSymbolEnabled(false);  // a run would split the empty code back to one symbol
    q.SetCount(20);
    q.SetMode(qrConnect);
    EXPECT_EQ(q.Count(), 16);
    q.SetMode(qrSingle);
    EXPECT_EQ(q.Count(), 1);
    q.SetMode(qrPlus);
    EXPECT_EQ(q.Count(), 2);
    q.SetCount(1024);
    q.SetMode(qrPlus);
    EXPECT_EQ(q.Count(), 1024);
    // A run settles Count and Mode from the data.
    q.SetCode(test::SampleText(30));
    q.SetCount(20);
    q.SetSymbolEnabled(true);
    EXPECT_EQ(q.Count(), 20);
    EXPECT_EQ(q.Mode(), qrPlus);
    q.SetCode("a");
    EXPECT_EQ(q.Count(), 1);
    EXPECT_EQ(q.Mode(), qrSingle);
}

TEST(Properties, SettersThatRegenerateOnlyWhenItMatters) {
    CountingQRCode q;
    q.SetCode("HELLO");
    const int paints = q.paints;
    q.SetCommentUpLoc(locRight);  // no comment to align
    q.SetCommentDownLoc(locCenter);
    q.SetNumbering(nbrHead);      // one symbol carries no number
    q.SetSymbolEnabled(true);     // unchanged
    q.SetSymbolDebug(true);       // stored only
    q.SetSymbolDebug(false);
    q.SetSymbolPicture(picEMF);   // not allowed without Match
    q.SetComFont(nullptr);
    q.SetComFont(&q.ComFont());
    EXPECT_EQ(q.paints, paints);
    EXPECT_EQ(q.CommentUpLoc(), locRight);
    EXPECT_EQ(q.Numbering(), nbrHead);
    EXPECT_EQ(q.SymbolPicture(), picBMP);

    q.SetCommentUp("x");
    q.SetCommentUpLoc(locCenter);
    TFont font;
    font.SetHeight(20);
    q.SetComFont(&font);
    EXPECT_EQ(q.paints, paints + 3);
    EXPECT_EQ(q.ComFont(), font);
}

TEST(Properties, DisabledControlStoresWithoutPainting) {
    CountingQRCode q;
    q.SetCode("HELLO");
    const QImage picture = test::PictureImage(q);
    const int paints = q.paints;
    q.SetSymbolEnabled(false);
    q.SetCode("WORLD");
    q.SetVersion(3);
    q.SetPxmag(2);
    q.SetSymbolColor(clRed);
    EXPECT_EQ(q.Code(), "WORLD");
    EXPECT_EQ(q.Version(), 3);
    EXPECT_EQ(q.paints, paints);
    EXPECT_EQ(test::PictureImage(q), picture);
    q.SetSymbolEnabled(true);  // one regeneration for all of them
    EXPECT_EQ(q.paints, paints + 1);
    EXPECT_NE(test::PictureImage(q), picture);
}

TEST(Properties, MatchTransparentAndPictureKind) {
    TQRCode q;
    q.SetMatch(true);
    q.SetSymbolPicture(picWMF);
    EXPECT_EQ(q.SymbolPicture(), picWMF);
    q.SetMatch(false);
    EXPECT_EQ(q.SymbolPicture(), picBMP);

    q.SetMatch(true);
    q.SetSymbolPicture(picEMF);
    q.SetTransparent(true);
    EXPECT_FALSE(q.Match());
    EXPECT_EQ(q.SymbolPicture(), picBMP);

    q.SetMatch(true);
    EXPECT_FALSE(q.Transparent());
    q.SetTransparent(false);
    EXPECT_TRUE(q.Match());
}

TEST(Properties, SizesFollowVersionPxmagSpacesAndGrid) {
    TQRCode q;
    q.SetSymbolEnabled(false);
    q.SetPxmag(3);
    EXPECT_EQ(q.SymbolWidth(), 87);
    EXPECT_EQ(q.SymbolHeight(), 87);
    EXPECT_EQ(q.QuietZone(), 12);
    q.SetCount(5);
    q.SetColumn(2);
    EXPECT_EQ(q.SymbolWidthA(), 174);
    EXPECT_EQ(q.SymbolHeightA(), 261);

    q.SetSymbolSpaceLeft(1);
    q.SetSymbolSpaceRight(2);
    q.SetSymbolSpaceUp(10);
    q.SetSymbolSpaceDown(20);
    EXPECT_EQ(q.SymbolWidthS(), 90);
    EXPECT_EQ(q.SymbolHeightS(), 117);
    EXPECT_EQ(q.SymbolWidthA(), 180);
    EXPECT_EQ(q.SymbolHeightA(), 351);
    q.SetColumn(16);  // fewer symbols than columns: one row as wide as the symbols
    EXPECT_EQ(q.SymbolWidthA(), 450);
    EXPECT_EQ(q.SymbolHeightA(), 117);
}

TEST(Properties, EventsFireInOrderWithTheWatchFlagOff) {
    TQRCode q;
    std::vector<std::string> log;
    q.SetOnChangeCode([&](TQRCode* s, bool watch) { log.push_back("change:" + s->Code() + (watch ? "!" : "")); });
    q.SetOnPaintSymbol([&](TQRCode*, bool watch) { log.push_back(watch ? "paint!" : "paint"); });
    q.SetOnPaintedSymbol([&](TQRCode* s, bool) { log.push_back(s->SymbolDisped() ? "painted" : "painted-failed"); });
    q.SetOnChangedCode([&](TQRCode* s, bool) { log.push_back("changed:" + s->Code()); });
    q.SetCode("old");
    log.clear();
    q.SetCode("new");
    EXPECT_EQ(log, (std::vector<std::string>{"change:old", "paint", "painted", "changed:new"}));

    // The code events are quiet while regeneration is off; the paint events
    // come with the run that switching on starts.
    log.clear();
    q.SetSymbolEnabled(false);
    q.SetCode("quiet");
    EXPECT_TRUE(log.empty());
    q.SetSymbolEnabled(true);
    EXPECT_EQ(log, (std::vector<std::string>{"paint", "painted"}));
}

TEST(Properties, CheckSettingsNamesTheInconsistentItem) {
    // Without a split the settings can disagree with the data: the check
    // guards PaintSymbol against exactly that.
    CountingQRCode q;
    q.SetSymbolEnabled(false);
    q.SetCode("abcdef");
    q.SetCount(3);
    try {
        q.CheckSettings();
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Illegal Count : 3");
    }
    q.SetMode(qrConnect);  // the count fits the mode; the offsets are still unset
    try {
        q.CheckSettings();
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Illegal Offset[3] : 0");
    }
    // A run splits first, so the same settings paint.
    q.SetSymbolEnabled(true);
    EXPECT_TRUE(q.SymbolDisped());
    EXPECT_NO_THROW(q.CheckSettings());
}

TEST(Properties, CheckSettingsRefusesAColumnOutOfRange) {
    // The setter already refuses these; the check names the item all the same.
    SettingsError error;
    EXPECT_FALSE(CountingQRCode::CheckColumn(0, error));
    EXPECT_EQ(error.Message(), "Illegal Column : 0");
    EXPECT_FALSE(CountingQRCode::CheckColumn(1025, error));
    EXPECT_EQ(error.Message(), "Illegal Column : 1025");
    EXPECT_TRUE(CountingQRCode::CheckColumn(1, error));
    EXPECT_TRUE(CountingQRCode::CheckColumn(1024, error));
}

TEST(Properties, FoundAmongWidgetsByItsOwnClass) {
    QWidget host;
    new TImage(&host);
    auto* control = new TQRCode(&host);
    EXPECT_EQ(host.findChild<TQRCode*>(), control);
    EXPECT_EQ(host.findChildren<TQRCode*>().size(), 1);
}

TEST(Properties, PasteTakesClipboardTextAsShiftJis) {
    TQRCode q;
    const QString text = QString::fromUtf8("日本 QR");
    QGuiApplication::clipboard()->setText(text);
    q.PasteFromClipboard();
    EXPECT_EQ(q.Code(), EncodeShiftJis(text));
    EXPECT_TRUE(q.SymbolDisped());
    QGuiApplication::clipboard()->setImage(QImage(4, 4, QImage::Format_RGB32));
    q.PasteFromClipboard();  // no text: nothing changes
    EXPECT_EQ(q.Code(), EncodeShiftJis(text));
}

}  // namespace
}  // namespace mosaiko
