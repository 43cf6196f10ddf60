// The control and the clipboard: the picture copied by its kind, and the
// clipboard watch pasting every text that is put on the (offscreen,
// in-process) clipboard, with the events it fires.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMimeData>
#include <stdexcept>
#include <vector>

#include "ClipboardFormats.h"
#include "ControlTestSupport.h"
#include "EmfWriter.h"
#include "ExceptionHandler.h"
#include "QrDecodeQt.h"
#include "WmfWriter.h"

namespace mosaiko {
namespace {

using test::DecodeImage;
using test::PictureImage;

void ProcessEvents() { QCoreApplication::processEvents(); }

void PutText(const char* utf8) {
    QGuiApplication::clipboard()->setText(QString::fromUtf8(utf8));
    ProcessEvents();
}

QByteArray Bytes(const std::string& s) { return QByteArray(s.data(), static_cast<qsizetype>(s.size())); }

// A control that logs its four published events as "name:watch".
class LoggingQRCode : public TQRCode {
public:
    LoggingQRCode() {
        SetOnChangeCode([this](TQRCode*, bool w) { Log("change", w); });
        SetOnPaintSymbol([this](TQRCode*, bool w) { Log("paint", w); });
        SetOnPaintedSymbol([this](TQRCode*, bool w) { Log("painted", w); });
        SetOnChangedCode([this](TQRCode*, bool w) { Log("changed", w); });
        SetWidth(120);
        SetHeight(120);
    }
    std::vector<std::string> events;

private:
    void Log(const char* name, bool watch) { events.push_back(std::string(name) + (watch ? ":watch" : ":direct")); }
};

class ClipboardWatch : public testing::Test {
protected:
    void SetUp() override {
        ProcessEvents();
        ASSERT_EQ(ClipboardViewer(), 0u) << "a watch left over from an earlier test";
    }
    void TearDown() override { ProcessEvents(); }
};

TEST_F(ClipboardWatch, TextAlreadyThereIsNotTakenOnlyTheNextOne) {
    LoggingQRCode q;
    q.SetCode("first");
    PutText("on the clipboard before");
    q.SetClipWatch(true);
    ProcessEvents();  // the notification of joining is swallowed
    EXPECT_EQ(q.Code(), "first");

    q.events.clear();
    PutText("HELLO 日本");
    EXPECT_EQ(q.Code(), EncodeShiftJis(QString::fromUtf8("HELLO 日本")));
    EXPECT_EQ(q.events, (std::vector<std::string>{"change:watch", "paint:watch", "painted:watch", "changed:watch"}));
    const auto decoded = DecodeImage(PictureImage(q));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->bytes, q.Code());

    q.events.clear();
    q.SetCode("direct");  // outside the watch the flag is false again
    EXPECT_EQ(q.events.front(), "change:direct");

    // Switching it on again while on swallows nothing more: it only clears the skip flag.
    q.SetClipWatch(true);
    PutText("again");
    EXPECT_EQ(q.Code(), "again");

    q.SetClipWatch(false);
    EXPECT_EQ(ClipboardViewer(), 0u);
    PutText("not watched");
    EXPECT_EQ(q.Code(), "again");
}

TEST_F(ClipboardWatch, PicturesWithoutTextChangeNothing) {
    LoggingQRCode q;
    q.SetCode("kept");
    q.SetClipWatch(true);
    ProcessEvents();
    q.events.clear();
    TBitmap image(5, 5);
    SetClipboardData(BitmapMimeData(image));
    ProcessEvents();
    q.CopyToClipboard();  // our own picture, with the watch on
    ProcessEvents();
    EXPECT_EQ(q.Code(), "kept");
    EXPECT_TRUE(q.events.empty());
}

TEST_F(ClipboardWatch, WithRegenerationOffTheTextIsStoredSilently) {
    LoggingQRCode q;
    q.SetCode("before");
    const QImage picture = PictureImage(q);
    q.SetSymbolEnabled(false);
    q.SetClipWatch(true);
    ProcessEvents();
    q.events.clear();
    PutText("while off");
    EXPECT_EQ(q.Code(), "while off");
    EXPECT_TRUE(q.events.empty());  // no code events, nothing painted
    EXPECT_EQ(PictureImage(q), picture);
}

TEST_F(ClipboardWatch, SeveralControlsAllHearAndLeaveInAnyOrder) {
    auto a = std::make_unique<LoggingQRCode>();
    auto b = std::make_unique<LoggingQRCode>();
    auto c = std::make_unique<LoggingQRCode>();
    for (auto* q : {a.get(), b.get(), c.get()}) q->SetClipWatch(true);
    ProcessEvents();
    PutText("all");
    for (auto* q : {a.get(), b.get(), c.get()}) EXPECT_EQ(q->Code(), "all");

    b.reset();  // from the middle of the chain, watching to the end
    PutText("two left");
    EXPECT_EQ(a->Code(), "two left");
    EXPECT_EQ(c->Code(), "two left");
    c->SetClipWatch(false);  // the head
    PutText("one left");
    EXPECT_EQ(a->Code(), "one left");
    EXPECT_EQ(c->Code(), "two left");
    a.reset();
    EXPECT_EQ(ClipboardViewer(), 0u);
}

TEST_F(ClipboardWatch, HandlerAndChainFollowTheWatch) {
    LoggingQRCode q;
    q.SetClipWatch(true);
    ProcessEvents();
    q.SetOnClipboardChange(nullptr);  // no handler: out of the chain
    EXPECT_EQ(ClipboardViewer(), 0u);
    int calls = 0;
    q.SetOnClipboardChange([&](TQRCode*) { ++calls; });
    ProcessEvents();  // joining again notifies at once, and the skip flag is not set
    EXPECT_EQ(calls, 1);
    PutText("x");
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(q.Code(), "");
    q.SetClipWatch(false);
}

TEST_F(ClipboardWatch, AnExceptionGoesToTheHandlerAndTheChainGoesOn) {
    std::vector<QString> shown;
    const TExceptionHandler previous = SetExceptionHandler([&](const QString& m) { shown.push_back(m); });
    LoggingQRCode later, first;  // first joins last and so is the head
    later.SetClipWatch(true);
    first.SetClipWatch(true);
    first.SetOnChangeCode([](TQRCode*, bool) { throw std::runtime_error("no room"); });
    ProcessEvents();
    PutText("text");
    EXPECT_EQ(shown, (std::vector<QString>{"no room"}));
    EXPECT_EQ(later.Code(), "text");
    later.events.clear();
    later.SetCode("after");  // the watch flag was reset by the failed paste
    EXPECT_EQ(later.events.front(), "change:direct");
    first.SetOnChangeCode(nullptr);
    first.events.clear();
    first.SetCode("y");
    SetExceptionHandler(previous);
}

class CopyToClipboard : public testing::Test {
protected:
    void SetUp() override {
        q.SetSymbolEnabled(false);
        q.SetWidth(100);
        q.SetHeight(100);
        q.SetCode("COPY ME");
        q.SetVersion(2);
        q.SetPxmag(2);
    }
    const QMimeData& Data() { return *QGuiApplication::clipboard()->mimeData(); }
    TQRCode q;
};

TEST_F(CopyToClipboard, EachKindInItsFormat) {
    q.SetSymbolEnabled(true);
    q.CopyToClipboard();
    EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), PictureImage(q));

    q.SetMatch(true);
    q.SetSymbolPicture(picEMF);
    ASSERT_TRUE(q.SymbolDisped());
    const TMetafile& metafile = *q.Picture().AsMetafile();
    q.CopyToClipboard();
    EXPECT_EQ(Data().data(kMimeEmf), Bytes(WriteEmf(metafile)));
    EXPECT_FALSE(Data().hasFormat(kMimeWmf));

    q.SetSymbolPicture(picWMF);
    const TMetafile& again = *q.Picture().AsMetafile();
    q.CopyToClipboard();
    EXPECT_EQ(Data().data(kMimeWmf), Bytes(WriteWmf(again, TWmfForm::Clipboard)));
    EXPECT_FALSE(Data().hasFormat(kMimeEmf));
    const auto pict = MetafilePictOf(Data());
    ASSERT_TRUE(pict);
    EXPECT_EQ(pict->mappingMode, 8);
    EXPECT_EQ(pict->xExt, again.MMWidth());
    EXPECT_EQ(pict->yExt, again.MMHeight());
}

TEST_F(CopyToClipboard, AfterAFailedRunThePictureGoesAsItIs) {
    q.SetMatch(true);
    q.SetSymbolPicture(picEMF);
    q.SetSymbolEnabled(true);
    ASSERT_NE(q.Picture().AsMetafile(), nullptr);

    // A metafile run whose first symbol fails leaves the prepared bitmap.
    q.SetCode(std::string(200, 'x'));
    ASSERT_FALSE(q.SymbolDisped());
    ASSERT_NE(q.Picture().AsBitmap(), nullptr);
    q.CopyToClipboard();
    EXPECT_FALSE(Data().hasFormat(kMimeEmf));
    EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), PictureImage(q));

    // A metafile that failed on its second symbol is still a metafile, and
    // goes as an enhanced metafile even while the kind is picWMF.
    q.SetSymbolEnabled(false);
    q.SetSymbolPicture(picWMF);
    q.SetMode(qrPlus);
    q.SetCount(2);
    q.SetCode(std::string(60, '7') + std::string(60, 'b'));  // digits fit version 2, letters do not
    q.SetSymbolEnabled(true);
    ASSERT_FALSE(q.SymbolDisped());
    ASSERT_NE(q.Picture().AsMetafile(), nullptr);
    q.CopyToClipboard();
    EXPECT_EQ(Data().data(kMimeEmf), Bytes(WriteEmf(*q.Picture().AsMetafile())));
    EXPECT_FALSE(Data().hasFormat(kMimeWmf));
}

// SymbolDebug makes symbols without drawing them, so a metafile run leaves the
// prepared bitmap with SymbolDisped true: the bitmap goes, not an empty metafile.
TEST_F(CopyToClipboard, APictureOfAnotherKindGoesAsItIs) {
    q.SetMatch(true);
    q.SetSymbolPicture(picEMF);
    q.SetSymbolDebug(true);
    q.SetSymbolEnabled(true);
    ASSERT_TRUE(q.SymbolDisped());
    ASSERT_NE(q.Picture().AsBitmap(), nullptr);
    q.CopyToClipboard();
    EXPECT_FALSE(Data().hasFormat(kMimeEmf));
    EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), PictureImage(q));
    ASSERT_NE(q.Picture().AsBitmap(), nullptr);
}

}  // namespace
}  // namespace mosaiko
