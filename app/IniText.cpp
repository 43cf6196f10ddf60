#include "IniText.h"

#include <QStringDecoder>

#include "Cp932.h"

namespace mosaiko {
namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

QByteArray Content(QByteArray line, int index) {
    if (index == 0 && line.startsWith(kByteOrderMark)) line.remove(0, 3);
    return line.trimmed();
}

bool IsSection(const QByteArray& trimmed) { return trimmed.startsWith('[') && trimmed.contains(']'); }

QString SectionName(const QByteArray& trimmed) {
    return QString::fromUtf8(trimmed.mid(1, trimmed.indexOf(']') - 1)).trimmed();
}

bool IsGeneral(const QString& section) {
    return section.isEmpty() || section.compare(QLatin1String("General"), Qt::CaseInsensitive) == 0;
}

QString DecodeBytes(const QByteArray& raw) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(raw);
    if (!utf8.hasError()) return text;
    // Written by an older tool, or by hand in a Japanese editor.
    return QString::fromStdString(Cp932ToUtf8(std::string_view(raw.constData(), static_cast<std::size_t>(raw.size()))));
}

QChar Escaped(QChar c) {
    switch (c.unicode()) {
    case 'a': return QChar(7);
    case 'b': return QChar(8);
    case 'f': return QChar(12);
    case 'n': return QChar(10);
    case 'r': return QChar(13);
    case 't': return QChar(9);
    case 'v': return QChar(11);
    default: return c;  // \" \' \\ \? and any other
    }
}

// Reads the digits of a \x or octal escape starting at `i`; moves `i` past them.
QChar NumberEscape(const QString& s, qsizetype& i, int base) {
    const qsizetype start = i;
    const qsizetype most = base == 16 ? 4 : 3;
    bool digit = true;
    while (i < s.size() && i - start < most) {
        QString(s[i]).toUInt(&digit, base);
        if (!digit) break;
        ++i;
    }
    return QChar(static_cast<char16_t>(s.mid(start, i - start).toUInt(nullptr, base)));
}

// The value after "=", as Qt's INI reader reads it, but one line only.
IniValue Unescape(const QString& s) {
    IniValue value;
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < s.size();) {
        const QChar c = s[i++];
        if (c == u'"') {
            quoted = !quoted;
        } else if (c == u'\\' && i < s.size()) {
            const QChar e = s[i++];
            if (e == u'x') out += NumberEscape(s, i, 16);
            else if (e >= u'0' && e <= u'7') out += NumberEscape(s, --i, 8);
            else out += Escaped(e);
        } else if (c == u',' && !quoted) {
            value.isString = false;  // a list
            out += c;
        } else {
            out += c;
        }
    }
    if (out.startsWith(u'@')) {
        if (out.startsWith(QLatin1String("@@"))) out.remove(0, 1);
        else if (out.contains(u'(') && out.endsWith(u')')) value.isString = false;
    }
    value.text = out;
    return value;
}

// The value as Qt's INI format writes a string.
QByteArray Escape(const QString& value) {
    QString text = value.startsWith(u'@') ? u'@' + value : value;
    bool quote = text.startsWith(u' ') || text.endsWith(u' ');
    QString out;
    for (const QChar c : text) {
        if (c == u'\\' || c == u'"') out += u'\\', out += c;
        else if (c == u'\n') out += QLatin1String("\\n");
        else if (c == u'\r') out += QLatin1String("\\r");
        else if (c == u'\t') out += QLatin1String("\\t");
        else if (c.unicode() < 0x20) out += QStringLiteral("\\x%1").arg(c.unicode(), 0, 16);
        else {
            quote = quote || c == u',' || c == u';' || c == u'=';
            out += c;
        }
    }
    return (quote ? u'"' + out + u'"' : out).toUtf8();
}

}  // namespace

IniText::IniText(const QByteArray& bytes) {
    if (bytes.isEmpty()) return;
    lines_ = bytes.split('\n');
    endsWithLineEnd_ = bytes.endsWith('\n');
    if (endsWithLineEnd_) lines_.removeLast();
    if (lines_.value(0).endsWith('\r')) lineEnd_ = "\r\n";
    for (QByteArray& line : lines_)
        if (line.endsWith('\r')) line.chop(1);
}

int IniText::LineOf(const QString& key) const {
    int found = -1;
    QString section;
    for (int i = 0; i < lines_.size(); ++i) {
        const QByteArray trimmed = Content(lines_[i], i);
        if (IsSection(trimmed)) section = SectionName(trimmed);
        if (!IsGeneral(section) || trimmed.startsWith(';') || !trimmed.contains('=')) continue;
        if (QString::fromUtf8(trimmed.left(trimmed.indexOf('=')).trimmed()) == key) found = i;
    }
    return found;
}

std::optional<IniValue> IniText::Value(const QString& key) const {
    const int i = LineOf(key);
    if (i < 0) return std::nullopt;
    const QByteArray trimmed = Content(lines_[i], i);
    return Unescape(DecodeBytes(trimmed.mid(trimmed.indexOf('=') + 1).trimmed()));
}

// Where a new key goes: after the last non-empty line of the General section.
int IniText::EndOfGeneral() const {
    int end = -1;
    bool general = true;
    for (int i = 0; i < lines_.size(); ++i) {
        const QByteArray trimmed = Content(lines_[i], i);
        if (IsSection(trimmed)) general = IsGeneral(SectionName(trimmed));
        if (general && !trimmed.isEmpty()) end = i + 1;
    }
    return end;
}

void IniText::Set(const QString& key, const QString& value) {
    const std::optional<IniValue> now = Value(key);
    if (now && now->isString && now->text == value) return;
    const QByteArray line = key.toUtf8() + '=' + Escape(value);
    if (now) {
        lines_[LineOf(key)] = line;
        return;
    }
    int at = EndOfGeneral();
    if (at < 0) {
        // No General section yet: open one at the top.
        lines_.insert(0, "[General]");
        at = 1;
        if (lines_.size() > 1) lines_.insert(1, QByteArray());
    }
    lines_.insert(at, line);
    if (at == lines_.size() - 1) endsWithLineEnd_ = true;
}

QByteArray IniText::Bytes() const {
    QByteArray out;
    for (const QByteArray& line : lines_) out += line + lineEnd_;
    if (!endsWithLineEnd_ && !out.isEmpty()) out.chop(lineEnd_.size());
    return out;
}

}  // namespace mosaiko
