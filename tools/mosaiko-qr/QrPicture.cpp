#include "QrPicture.h"

#include <QGuiApplication>
#include <QBuffer>
#include <QImage>
#include <charconv>
#include <iostream>
#include <algorithm>
#include <memory>
#include <optional>

#include "CliCommon.h"
#include "QRSymbols.h"
#include "ShiftJis.h"
#include "QrMetafile.h"
#include "QrRun.h"

namespace mosaiko::cli {
namespace {

constexpr int kMaxSpace = 1000;  // pixels; keeps a mistyped space from asking for a huge picture
// A PNG is painted in memory at 4 bytes a pixel: at most 16384 pixels a side
// and 1 GiB in all, checked before anything is allocated.
constexpr long long kMaxPictureSide = 16384;
constexpr long long kMaxPicturePixels = (1LL << 30) / 4;

bool RangeError(std::string& error, const std::string& option, const std::string& value, const char* range) {
    error = "option " + option + ": '" + value + "' is not " + range;
    return false;
}

bool ParseColor(const std::string& text, TColor& color) {
    if (text.size() != 7 || text[0] != '#') return false;
    unsigned rgb = 0;
    auto [p, ec] = std::from_chars(text.data() + 1, text.data() + 7, rgb, 16);
    if (ec != std::errc() || p != text.data() + 7) return false;
    color = RGBColor(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb));
    return true;
}

int WordIndex(const std::string& text, std::initializer_list<const char*> words) {
    int i = 0;
    for (const char* w : words) {
        if (text == w) return i;
        ++i;
    }
    return -1;
}

// Comments are typed text: the terminal's encoding becomes Shift-JIS here.
std::string CommentBytes(const std::string& typed) { return EncodeShiftJis(QString::fromLocal8Bit(typed)); }

// Applies one picture option through the control's setter; a value the
// setter does not take is a usage error naming the range.
bool ApplyPictureOption(TQRPictureMaker& q, const std::string& name, const std::string& value, std::string& error) {
    int n = 0;
    TColor color = 0;
    if (name == "--angle") {
        if (!ParseInt(value, n) || (q.SetAngle(n), q.Angle() != n))
            return RangeError(error, name, value, "one of 0, 90, 180, 270");
    } else if (name == "--fg" || name == "--bg") {
        if (!ParseColor(value, color)) return RangeError(error, name, value, "a colour #RRGGBB");
        if (name == "--fg") q.SetSymbolColor(color);
        else q.SetBackColor(color);
    } else if (name == "--comment-up") {
        q.SetCommentUp(CommentBytes(value));
    } else if (name == "--comment-down") {
        q.SetCommentDown(CommentBytes(value));
    } else if (name == "--comment-up-loc" || name == "--comment-down-loc") {
        n = WordIndex(value, {"left", "center", "right"});
        if (n < 0) return RangeError(error, name, value, "one of left, center, right");
        const auto location = static_cast<TLocation>(n);
        if (name == "--comment-up-loc") q.SetCommentUpLoc(location);
        else q.SetCommentDownLoc(location);
    } else if (name.rfind("--space-", 0) == 0) {
        if (!ParseInt(value, 0, kMaxSpace, n))
            return RangeError(error, name, value, "a space from 0 to 1000 pixels");
        if (name == "--space-up") q.SetSymbolSpaceUp(n);
        else if (name == "--space-down") q.SetSymbolSpaceDown(n);
        else if (name == "--space-left") q.SetSymbolSpaceLeft(n);
        else q.SetSymbolSpaceRight(n);
    } else if (name == "--column") {
        if (!ParseInt(value, n) || (q.SetColumn(n), q.Column() != n))
            return RangeError(error, name, value, "a column count from 1 to 1024");
    } else if (name == "--numbering") {
        n = WordIndex(value, {"none", "head", "tail", "ifvoid"});
        if (n < 0) return RangeError(error, name, value, "one of none, head, tail, ifvoid");
        q.SetNumbering(static_cast<TNumbering>(n));
    }
    return true;
}

// The same settings and order as the PBM path, through the control.
void ConfigureControl(TQRPictureMaker& q, const QrOptions& o, std::string code) {
    q.SetSymbolEnabled(false);
    q.SetVersion(o.version);
    q.SetEclevel(o.level);
    q.SetEmode(o.emode);
    q.SetEmodeOptimal(o.optimal);
    q.SetMasktype(o.mask);
    q.SetPxmag(o.pxmag);
    q.SetMode(static_cast<TQRMode>(o.structure));
    q.SetCount(o.count);
    q.SetBinaryOperation(o.binary);
    q.SetCode(code);
    q.SetNumbering(nbrNone);  // like the PBM text: numbers only when asked for
}

// A colour the painting does not use, to find the pixels it left alone.
TColor KeyColor(const TQRPictureMaker& q) {
    for (TColor key : {RGBColor(255, 0, 255), RGBColor(0, 255, 1), RGBColor(1, 2, 3)})
        if (key != q.SymbolColor() && key != q.BackColor() && key != q.ComFont().Color()) return key;
    return RGBColor(1, 2, 3);
}

// A transparent picture: painted again without background over a key
// colour, at the size the matched run gave; untouched pixels lose their alpha.
QImage TransparentPicture(TQRPictureMaker& q) {
    const TColor key = KeyColor(q);
    q.SetSymbolEnabled(false);
    q.SetTransparent(true);
    TBitmap base(q.Width(), q.Height());
    base.FillRect(0, 0, base.Width(), base.Height(), key);
    q.Picture().AssignBitmap(std::move(base));
    q.SetSymbolEnabled(true);
    QImage image = q.Picture().Bitmap().ToQImage().convertToFormat(QImage::Format_ARGB32);
    const QRgb keyRgb = ColorToRgb(key);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (line[x] == keyRgb) line[x] = qRgba(0, 0, 0, 0);
    }
    return image;
}

std::string PngBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

QImage PictureImage(const TQRPictureMaker& q) {
    const TBitmap* bitmap = q.Picture().AsBitmap();
    return bitmap != nullptr ? bitmap->ToQImage() : QImage();
}

// The picture Match gives, from the settings alone: the data can only
// lower the symbol count, never raise it.
std::optional<std::string> PictureTooLarge(const TQRPictureMaker& q) {
    const long long count = std::max(1, std::min(q.Count(), q.Driver().Len()));
    const long long columns = std::min<long long>(q.Column(), count);
    const long long rows = (count + q.Column() - 1) / q.Column();
    const long long width = columns * q.SymbolWidthS();
    const long long height = rows * q.SymbolHeightS();
    if (width <= kMaxPictureSide && height <= kMaxPictureSide && width * height <= kMaxPicturePixels)
        return std::nullopt;
    return "the picture would be " + std::to_string(width) + " x " + std::to_string(height) +
           " pixels; a PNG may have at most " + std::to_string(kMaxPictureSide) + " pixels a side";
}

int Paint(TQRPictureMaker& q, const QrOptions& options, QrFormat format, bool transparent) {
    const auto kind = MetafileKind(format);
    if (!kind) {
        if (const auto tooLarge = PictureTooLarge(q)) return Failed(*tooLarge);
    }
    try {
        q.SetMatch(true);
        std::unique_ptr<MetafileOutput> metafile;
        std::string png;
        if (kind) {
            q.SetSymbolPicture(*kind);
            metafile = std::make_unique<MetafileOutput>(q, format);
        } else {
            q.SetSymbolEnabled(true);
            png = PngBytes(transparent && q.SymbolDisped() ? TransparentPicture(q) : PictureImage(q));
        }
        // A file is written only when every symbol was made.
        std::string message;
        const auto produce = [&](const ChunkWrite& write) { return metafile->Write(write); };
        const bool written = !(q.SymbolDisped() || WritesToStandardOutput(options)) ||
                             (metafile ? WriteStreamed(options.output, produce, message)
                                       : WriteAllBytes(options.output, png, message));
        if (!written) return Usage(message);
    } catch (const Exception& e) {
        return Failed(e.what());
    }
    if (options.info) std::cerr << InfoText(q.Driver());
    if (!q.SymbolDisped()) return Failed(FailureMessage(q.Driver()));
    return kExitOk;
}

}  // namespace

int RunPicture(const QrOptions& options, QrFormat format, std::string code) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "mosaiko-qr";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    RegisterFontSubstitutes();

    auto q = std::make_unique<TQRPictureMaker>();
    ConfigureControl(*q, options, std::move(code));
    bool transparent = false;
    std::string error;
    for (const auto& [option, value] : options.extra) {
        if (option == "--transparent") transparent = true;
        else if (!ApplyPictureOption(*q, option, value, error)) return Usage(error);
    }
    if (MetafileKind(format) && (transparent || q->Angle() != 0))  // metafiles are never turned
        return Usage("options --transparent and --angle apply to png only");
    return Paint(*q, options, format, transparent);
}

}  // namespace mosaiko::cli
