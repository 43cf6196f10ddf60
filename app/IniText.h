// An INI file kept line by line, so that writing a value changes only that
// value's line: comments, other sections, unknown keys, a byte-order mark and
// lines it cannot make sense of stay as they were.
//
// Values are read as Qt's INI format writes them (quotes, backslash escapes,
// "@@" for a leading "@"), with two differences that keep hand-written files
// whole: a backslash at the end of a line is a backslash, not a continuation,
// and a value that is not valid UTF-8 is read as Shift-JIS.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace mosaiko {

struct IniValue {
    QString text;
    bool isString = true;  // false for a list or an "@Type(...)" value
};

class IniText {
public:
    explicit IniText(const QByteArray& bytes);

    // The value of `key` in the General section (or before any section);
    // the last one when the key repeats.
    std::optional<IniValue> Value(const QString& key) const;
    // Rewrites the key's line, or adds one to the General section. A value
    // equal to the one read leaves its line as written.
    void Set(const QString& key, const QString& value);
    QByteArray Bytes() const;

private:
    int LineOf(const QString& key) const;
    int EndOfGeneral() const;

    QList<QByteArray> lines_;  // without line ends
    QByteArray lineEnd_ = "\n";
    bool endsWithLineEnd_ = true;
};

}  // namespace mosaiko
