// TFont attributes and the mapping of the Windows Japanese font names.
#include <gtest/gtest.h>

#include <QFontInfo>

#include "Font.h"

namespace mosaiko {
namespace {

TEST(Font, DefaultAttributes) {
    const TFont f;
    EXPECT_EQ(f.Name(), QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(f.Height(), 12);
    EXPECT_EQ(f.Size(), 9);
    EXPECT_EQ(f.Style(), 0);
    EXPECT_EQ(f.Color(), clBlack);
}

TEST(Font, SizeIsHeightAtNinetySixDpi) {
    TFont f;
    f.SetSize(12);
    EXPECT_EQ(f.Height(), 16);
    f.SetHeight(-20);  // GDI-style negative character height
    EXPECT_EQ(f.Height(), 20);
    EXPECT_EQ(f.Size(), 15);
    f.SetHeight(13);
    EXPECT_EQ(f.Size(), 10);  // 9.75 rounds up
}

TEST(Font, AssignCopiesEveryAttribute) {
    TFont a;
    a.SetName("IPAMincho");
    a.SetHeight(30);
    a.SetStyle(fsBold | fsUnderline);
    a.SetColor(clRed);
    TFont b;
    b.Assign(a);
    EXPECT_EQ(b, a);
    const QFont q = b.ToQFont();
    EXPECT_EQ(q.pixelSize(), 30);
    EXPECT_TRUE(q.bold());
    EXPECT_TRUE(q.underline());
    EXPECT_FALSE(q.italic());
    EXPECT_FALSE(q.strikeOut());
}

TEST(Font, WindowsJapaneseNamesResolveToIpaFonts) {
    const std::pair<const char*, const char*> cases[] = {
        {"ＭＳ Ｐゴシック", "IPAPGothic"}, {"ＭＳ Ｐ明朝", "IPAPMincho"},
        {"ＭＳ ゴシック", "IPAGothic"},   {"ＭＳ 明朝", "IPAMincho"},
    };
    for (auto [windowsName, ipa] : cases) {
        TFont f;
        f.SetName(QString::fromUtf8(windowsName));
        EXPECT_EQ(QFontInfo(f.ToQFont()).family(), QString::fromUtf8(ipa)) << windowsName;
    }
}

}  // namespace
}  // namespace mosaiko
