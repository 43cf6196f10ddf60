#include "Font.h"

#include <QFontDatabase>
#include <QStringList>
#include <cstdlib>

namespace mosaiko {

const QString TFont::kDefaultName = QStringLiteral("ＭＳ Ｐゴシック");

namespace {
// a * b / c rounded half away from zero, as the Windows MulDiv does.
int MulDivRound(int a, int b, int c) {
    const long long p = static_cast<long long>(a) * b;
    const long long half = c / 2;
    return static_cast<int>(p >= 0 ? (p + half) / c : (p - half) / c);
}
}  // namespace

void TFont::SetHeight(int pixels) {
    pixels = std::abs(pixels);
    height_ = pixels < 1 ? 1 : pixels;
}

int TFont::Size() const { return MulDivRound(height_, 72, kScreenPixelsPerInch); }

void TFont::SetSize(int points) { SetHeight(MulDivRound(std::abs(points), kScreenPixelsPerInch, 72)); }

QFont TFont::ToQFont() const {
    QFont font(name_);
    font.setPixelSize(height_);
    font.setBold(Bold());
    font.setItalic(Italic());
    font.setUnderline(Underline());
    font.setStrikeOut(StrikeOut());
    return font;
}

void RegisterFontSubstitutes() {
    struct Mapping {
        const char* family;
        const char* substitutes[2];
    };
    static const Mapping kMappings[] = {
        {"ＭＳ Ｐゴシック", {"IPAPGothic", "IPAGothic"}},
        {"ＭＳ Ｐ明朝", {"IPAPMincho", "IPAMincho"}},
        {"ＭＳ ゴシック", {"IPAGothic", "IPAPGothic"}},
        {"ＭＳ 明朝", {"IPAMincho", "IPAPMincho"}},
        {"MS PGothic", {"IPAPGothic", "IPAGothic"}},
        {"MS PMincho", {"IPAPMincho", "IPAMincho"}},
        {"MS Gothic", {"IPAGothic", "IPAPGothic"}},
        {"MS Mincho", {"IPAMincho", "IPAPMincho"}},
    };
    for (const Mapping& m : kMappings) {
        const QString family = QString::fromUtf8(m.family);
        if (QFontDatabase::hasFamily(family)) continue;
        QStringList wanted{QString::fromUtf8(m.substitutes[0]), QString::fromUtf8(m.substitutes[1])};
        const QStringList present = QFont::substitutes(family);
        QStringList missing;
        for (const QString& s : wanted)
            if (!present.contains(s)) missing << s;
        if (!missing.isEmpty()) QFont::insertSubstitutions(family, missing);
    }
}

}  // namespace mosaiko
