#include "SvgWriter.h"

#include <QFont>
#include <QString>
#include <QStringList>

#include "ShiftJis.h"
#include "TextRender.h"

namespace mosaiko {
namespace {

QString Hex(TColor c) {
    return QStringLiteral("#%1%2%3")
        .arg(RedOf(c), 2, 16, QLatin1Char('0'))
        .arg(GreenOf(c), 2, 16, QLatin1Char('0'))
        .arg(BlueOf(c), 2, 16, QLatin1Char('0'));
}

// XML 1.0 has no place for the other control characters, nor for U+FFFE and
// U+FFFF; a painted text shows nothing for them.
bool IsXmlCharacter(QChar c) {
    const char16_t u = c.unicode();
    return u >= 0x20 ? u != 0xFFFE && u != 0xFFFF : u == '\t' || u == '\n' || u == '\r';
}

QString Escaped(QString text) {
    text.removeIf([](QChar c) { return !IsXmlCharacter(c); });
    return text.toHtmlEscaped();
}

QString Rect(int x, int y, int w, int h, TColor color) {
    return QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" fill=\"%5\"/>\n")
        .arg(x)
        .arg(y)
        .arg(w)
        .arg(h)
        .arg(Hex(color));
}

// The recorded face, then the families it is shown with here, then a generic one.
QString FontFamily(const QString& name) {
    QStringList families{name};
    families += QFont::substitutes(name);
    QStringList quoted;
    for (const QString& f : families) quoted << QLatin1Char('\'') + f + QLatin1Char('\'');
    quoted << QStringLiteral("sans-serif");
    return quoted.join(QStringLiteral(", "));
}

}  // namespace

// The SVG text, kept whole (write empty) or handed out as UTF-8 in chunks.
class SvgBuilder {
public:
    SvgBuilder(int w, int h, TChunkWrite write) : write_(std::move(write)) {
        out_ += QStringLiteral(
                    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"%1px\" height=\"%2px\" "
                    "viewBox=\"0 0 %1 %2\" shape-rendering=\"crispEdges\">\n")
                    .arg(w)
                    .arg(h);
    }

    void Add(const TMetafileRecord& record) {
        std::visit(*this, record);
        if (write_ && out_.size() >= static_cast<qsizetype>(kWriteChunk)) Flush();
    }
    bool Finish() {
        out_ += QStringLiteral("</svg>\n");
        if (write_) Flush();
        return ok_;
    }
    std::string Take() { return out_.toStdString(); }

    void operator()(const TMetaSelectBrush& b) { brush_ = b; }
    void operator()(const TMetaFillRect& f) {
        if (brush_.style == bsClear || f.right <= f.left || f.bottom <= f.top) return;
        out_ += Rect(f.left, f.top, f.right - f.left, f.bottom - f.top, brush_.color);
    }
    void operator()(const TMetaSelectFont& f) { font_ = f.font; }
    void operator()(const TMetaSetTextColor& c) { textColor_ = c.color; }
    void operator()(const TMetaSetBkColor& c) { bkColor_ = c.color; }
    void operator()(const TMetaSetBkMode& m) { opaque_ = m.opaque; }
    void operator()(const TMetaTextOut& t);

private:
    // Whole elements only, so no character is split between chunks.
    void Flush() {
        ok_ = ok_ && write_(out_.toStdString());
        out_.clear();
    }

    TChunkWrite write_;
    bool ok_ = true;
    QString out_;
    // GDI's defaults for a new device context.
    TMetaSelectBrush brush_;
    TMetaFont font_{TFont::kDefaultName};
    TColor textColor_ = clBlack;
    TColor bkColor_ = clWhite;
    bool opaque_ = true;
};

void SvgBuilder::operator()(const TMetaTextOut& t) {
    const QString text = DecodeShiftJis(t.text);
    if (text.isEmpty()) return;
    if (opaque_ && t.width > 0 && t.height > 0) out_ += Rect(t.x, t.y, t.width, t.height, bkColor_);
    // One x per character keeps the recorded layout; the baseline lies at the ascent.
    // A character left out of the text takes its x along, the advance stays.
    QStringList xs;
    int x = t.x;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (IsXmlCharacter(text[i])) xs << QString::number(x);
        x += i < static_cast<qsizetype>(t.advances.size()) ? t.advances[static_cast<size_t>(i)] : 0;
    }
    if (xs.isEmpty()) return;
    const int baseline = t.y + FontAscent(font_.ToFont().ToQFont());
    // Multi-argument arg(): a "%1" inside a name or text is not taken for a placeholder.
    QString style = QStringLiteral("font-family=\"%1\" font-size=\"%2px\" fill=\"%3\"")
                        .arg(Escaped(FontFamily(font_.name)), QString::number(font_.height), Hex(textColor_));
    if (font_.bold) style += QStringLiteral(" font-weight=\"bold\"");
    if (font_.italic) style += QStringLiteral(" font-style=\"italic\"");
    QStringList decorations;
    if (font_.underline) decorations << QStringLiteral("underline");
    if (font_.strikeOut) decorations << QStringLiteral("line-through");
    if (!decorations.isEmpty()) style += QStringLiteral(" text-decoration=\"%1\"").arg(decorations.join(' '));
    out_ += QStringLiteral("<text xml:space=\"preserve\" x=\"%1\" y=\"%2\" %3>%4</text>\n")
                .arg(xs.join(' '), QString::number(baseline), style, Escaped(text));
}

std::string WriteSvg(const TMetafile& metafile) {
    SvgBuilder builder(metafile.Width(), metafile.Height(), {});
    for (const TMetafileRecord& record : metafile.Records()) builder.Add(record);
    builder.Finish();
    return builder.Take();
}

TSvgStream::TSvgStream(int width, int height, TChunkWrite write)
    : builder_(std::make_unique<SvgBuilder>(width, height, std::move(write))) {}

TSvgStream::~TSvgStream() = default;

void TSvgStream::Add(const TMetafileRecord& record) { builder_->Add(record); }

bool TSvgStream::Finish() { return builder_->Finish(); }

}  // namespace mosaiko
