// The clipboard viewer chain over QClipboard, with viewers that follow the
// Windows protocol, and the picture formats as they come back from the
// (offscreen, in-process) clipboard.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMimeData>
#include <memory>
#include <stdexcept>
#include <vector>

#include "ClipboardChain.h"
#include "ClipboardFormats.h"
#include "EmfWriter.h"
#include "ExceptionHandler.h"
#include "MetafileCanvas.h"
#include "Picture.h"
#include "SvgWriter.h"
#include "WmfWriter.h"

namespace mosaiko {
namespace {

// A viewer as a Windows program writes one: it keeps its next viewer, passes
// DrawClipboard on and mends its link on ChangeCbChain.
class Viewer {
public:
    explicit Viewer(std::vector<char>& log, char name)
        : log_(log), name_(name), window_([this](auto m, THandle w, THandle l) { return Proc(m, w, l); }) {}
    ~Viewer() {
        if (joined_) Leave();
    }
    void Join() {
        next_ = SetClipboardViewer(window_.Handle());
        joined_ = true;
    }
    void Leave() {
        ChangeClipboardChain(window_.Handle(), next_);
        joined_ = false;
    }
    THandle Handle() const { return window_.Handle(); }
    THandle Next() const { return next_; }

private:
    TMessageResult Proc(TClipboardMessage message, THandle wParam, THandle lParam) {
        if (message == TClipboardMessage::DrawClipboard) {
            log_.push_back(name_);
            SendMessage(next_, message, wParam, lParam);
            return 0;
        }
        if (wParam == next_) next_ = lParam;
        else if (next_ != 0) SendMessage(next_, message, wParam, lParam);
        return 0;
    }

    std::vector<char>& log_;
    char name_;
    bool joined_ = false;
    THandle next_ = 0;
    TClipboardWindow window_;
};

void ProcessEvents() { QCoreApplication::processEvents(); }

class ClipboardChainTest : public testing::Test {
protected:
    void SetUp() override {
        ProcessEvents();  // nothing left over from an earlier test
        ASSERT_EQ(ClipboardViewer(), 0u);
    }
    void Change(const char* text) {
        QGuiApplication::clipboard()->setText(QString::fromUtf8(text));
        ProcessEvents();
    }
    std::vector<char> log;
};

TEST_F(ClipboardChainTest, JoiningPostsOneNotificationAndChangesTravelTheChain) {
    Viewer a(log, 'a'), b(log, 'b');
    a.Join();
    EXPECT_TRUE(log.empty()) << "the first notification is queued, not sent";
    ProcessEvents();
    EXPECT_EQ(log, (std::vector<char>{'a'}));

    b.Join();
    EXPECT_EQ(b.Next(), a.Handle());
    EXPECT_EQ(ClipboardViewer(), b.Handle());
    ProcessEvents();  // b's own first notification, passed on to a
    EXPECT_EQ(log, (std::vector<char>{'a', 'b', 'a'}));

    log.clear();
    Change("one");
    EXPECT_EQ(log, (std::vector<char>{'b', 'a'}));
}

TEST_F(ClipboardChainTest, LeavingMendsTheChainFromEitherEnd) {
    Viewer a(log, 'a'), b(log, 'b'), c(log, 'c');
    a.Join();
    b.Join();
    c.Join();
    ProcessEvents();
    log.clear();

    b.Leave();  // in the middle: c learns that its next is now a
    EXPECT_EQ(c.Next(), a.Handle());
    Change("two");
    EXPECT_EQ(log, (std::vector<char>{'c', 'a'}));

    log.clear();
    c.Leave();  // the head: a becomes the head, nobody is told
    EXPECT_EQ(ClipboardViewer(), a.Handle());
    Change("three");
    EXPECT_EQ(log, (std::vector<char>{'a'}));

    a.Leave();
    EXPECT_EQ(ClipboardViewer(), 0u);
    log.clear();
    Change("four");
    EXPECT_TRUE(log.empty());
}

TEST_F(ClipboardChainTest, MessagesToDestroyedWindowsGoNowhere) {
    auto a = std::make_unique<Viewer>(log, 'a');
    const THandle handle = a->Handle();
    a->Join();
    a.reset();  // leaves, then the window goes before its queued notification
    ProcessEvents();
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(SendMessage(handle, TClipboardMessage::DrawClipboard, 0, 0), 0);

    // A window destroyed while still at the head takes the head with it.
    {
        TClipboardWindow w([](auto, auto, auto) -> TMessageResult { return 1; });
        SetClipboardViewer(w.Handle());
        EXPECT_EQ(SendMessage(w.Handle(), TClipboardMessage::ChangeCbChain, 0, 0), 1);
    }
    EXPECT_EQ(ClipboardViewer(), 0u);
    ProcessEvents();
}

TMetafile SmallPicture() {
    TMetafile m(40, 30);
    TMetafileCanvas c(m);
    c.Brush().SetColor(clBlack);
    c.FillRect(4, 4, 20, 12);
    c.Close();
    return m;
}

QByteArray Bytes(const std::string& s) { return QByteArray(s.data(), static_cast<qsizetype>(s.size())); }

TEST(ClipboardFormats, MetafilesAndBitmapsComeBackFromTheClipboard) {
    const TMetafile m = SmallPicture();
    QClipboard* clipboard = QGuiApplication::clipboard();

    SetClipboardData(EnhancedMetafileMimeData(m));
    const QMimeData* data = clipboard->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->data(kMimeEmf), Bytes(WriteEmf(m)));
    EXPECT_EQ(data->data(kMimeXEmf), Bytes(WriteEmf(m)));
    EXPECT_EQ(data->data(kMimeSvg), Bytes(WriteSvg(m)));
    EXPECT_EQ(clipboard->image().convertToFormat(QImage::Format_RGB32), m.ToQImage());
    EXPECT_FALSE(data->hasText());

    const std::string bits = WriteWmf(m, TWmfForm::Clipboard);
    SetClipboardData(WindowsMetafileMimeData(bits, MetafilePictExtents(m), m));
    data = clipboard->mimeData();
    EXPECT_EQ(data->data(kMimeWmf), Bytes(bits));
    EXPECT_EQ(data->data(kMimeXWmf), Bytes(bits));
    const auto pict = MetafilePictOf(*data);
    ASSERT_TRUE(pict);
    EXPECT_EQ(pict->mappingMode, 8);
    EXPECT_EQ(pict->xExt, 1058);  // 40 px at 96 dpi in 0.01 mm
    EXPECT_EQ(pict->yExt, 794);

    TPicture picture;
    picture.AssignBitmap(TBitmap(7, 5));
    picture.Bitmap().SetPixel(2, 3, clRed);
    SetClipboardData(PictureMimeData(picture));
    EXPECT_EQ(clipboard->image().convertToFormat(QImage::Format_RGB32), picture.Bitmap().ToQImage());

    picture.AssignMetafile(m);  // a whole metafile picture goes as an enhanced metafile
    SetClipboardData(PictureMimeData(picture));
    EXPECT_EQ(clipboard->mimeData()->data(kMimeEmf), Bytes(WriteEmf(m)));
    EXPECT_EQ(PictureMimeData(TPicture()), nullptr);
}

TEST(ExceptionHandler, InstalledHandlerGetsTheMessage) {
    QString shown;
    const TExceptionHandler previous = SetExceptionHandler([&](const QString& m) { shown = m; });
    try {
        throw std::runtime_error("Illegal Count : 0");
    } catch (...) {
        HandleCurrentException();
    }
    EXPECT_EQ(shown, "Illegal Count : 0");
    SetExceptionHandler(previous);
}

}  // namespace
}  // namespace mosaiko
