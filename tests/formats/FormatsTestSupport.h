// Helpers of the metafile format tests: a recorded QR symbol with a comment,
// temporary files, external programs and decoding of what they render.
#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <optional>
#include <ostream>
#include <string>

#include "Metafile.h"

// Rectangles in test messages as "(left, top) WxH".
inline void PrintTo(const QRect& r, std::ostream* os) {
    *os << "(" << r.left() << ", " << r.top() << ") " << r.width() << "x" << r.height();
}

namespace mosaiko::test {

// A QR symbol of text (version 3, level M) recorded one FillRect per run of
// dark modules, pxmag pixels per module inside a 4-module quiet zone, with the
// Shift-JIS comment drawn under it on a yellow background. The comment font is
// 16 px "IPAGothic" so that every reader finds the same face.
TMetafile RecordedSymbol(const std::string& text, const std::string& comment, int pxmag = 4);

// Runs a program; its standard output, or nothing when it could not start,
// ran longer than a minute or exited non-zero.
std::optional<QByteArray> RunProgram(const QString& program, const QStringList& arguments);
// True when the program is on PATH.
bool HasProgram(const QString& program);

void WriteFile(const QString& path, const std::string& bytes);
QByteArray ReadFile(const QString& path);

// The decoded data bytes of the QR code in an image; empty when none is found.
std::string DecodeQr(const QImage& image);

}  // namespace mosaiko::test
