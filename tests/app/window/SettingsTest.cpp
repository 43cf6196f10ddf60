// The eight settings: defaults on a first start, the read rules, the load
// that stops at a value that is not a string, files with a byte-order mark or
// broken lines, and the save on close that keeps what the load did not show.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QSlider>
#include <QSpinBox>

#include <unistd.h>

#include "ExceptionHandler.h"
#include "RadioGroup.h"
#include "WindowTestSupport.h"

namespace mosaiko::test {
namespace {

struct Shown {
    QPoint pos;
    int version;
    QString panel13;
    int symbolSize;
    QString title;
    QString filePath;
    int fontSize;
    int symbolCount;
};

Shown Read(const TQRTest_main& w) {
    return {w.pos(),         w.TrackBar1->value(), w.Panel13->text(),    w.RadioGroup1->ItemIndex(),
            w.Edit5->text(), w.FilePath->text(),   w.SpinEdit1->value(), w.SpinEdit2->value()};
}

void ExpectDesignDefaultsFromVersionOn(const Shown& s) {
    EXPECT_EQ(s.version, 20);
    EXPECT_EQ(s.panel13, "20");
    EXPECT_EQ(s.symbolSize, 0);
    EXPECT_EQ(s.title, QStringLiteral("ＱＲコードリスト"));
    EXPECT_EQ(s.filePath, "");
    EXPECT_EQ(s.fontSize, 10);
    EXPECT_EQ(s.symbolCount, 8);
}

// Read back as the window reads it: lines the save kept as they were (a
// broken one, say) may stop Qt's own INI reader.
QString Stored(const QString& path, const char* name) {
    return SettingsStore::OpenFile(path)->ReadString(QString::fromLatin1(name));
}

using SettingsTest = WindowTest;

TEST_F(SettingsTest, FirstStartShowsDefaultsAndCloseWritesAllEight) {
    ASSERT_FALSE(QFile::exists(SettingsPath()));
    auto window = MakeWindow();
    const Shown s = Read(*window);
    EXPECT_EQ(s.pos, QPoint(0, 0));
    ExpectDesignDefaultsFromVersionOn(s);
    EXPECT_FALSE(window->CancelRequested);
    EXPECT_EQ(window->LineCount, 0);

    window->close();
    QSettings saved(SettingsPath(), QSettings::IniFormat);
    EXPECT_EQ(saved.allKeys().size(), 8);
    EXPECT_EQ(Stored(SettingsPath(), "x_pos"), "0");
    EXPECT_EQ(Stored(SettingsPath(), "y_pos"), "0");
    EXPECT_EQ(Stored(SettingsPath(), "Version"), "20");
    EXPECT_EQ(Stored(SettingsPath(), "SymbolSize"), "0");
    EXPECT_EQ(Stored(SettingsPath(), "ReportTitle"), QStringLiteral("ＱＲコードリスト"));
    EXPECT_EQ(Stored(SettingsPath(), "FilePath"), "");
    EXPECT_EQ(Stored(SettingsPath(), "FontSize"), "10");
    EXPECT_EQ(Stored(SettingsPath(), "SymbolCount"), "8");
}

TEST_F(SettingsTest, ValuesGoThroughTheirControlsWhichKeepThemInRange) {
    struct Case {
        std::string stored;
        int version, symbolSize, fontSize, symbolCount;
    };
    const Case cases[] = {
        {"Version=99\nSymbolSize=7\nFontSize=100\nSymbolCount=0\n", 40, 3, 60, 1},
        {"Version=0\nSymbolSize=-1\nFontSize=abc\nSymbolCount=21\n", 1, -1, 10, 20},
        {"Version=abc\nSymbolSize=\nFontSize=5\nSymbolCount=99999999999\n", 20, 0, 6, 20},
        {"Version=007\nSymbolSize=2\nFontSize=-12\nSymbolCount=+3\n", 7, 2, 6, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        WriteSettingsText(c.stored);
        auto window = MakeWindow();
        EXPECT_EQ(window->TrackBar1->value(), c.version);
        EXPECT_EQ(window->Panel13->text(), QString::number(c.version));
        EXPECT_EQ(window->RadioGroup1->ItemIndex(), c.symbolSize);
        EXPECT_EQ(window->SpinEdit1->value(), c.fontSize);
        EXPECT_EQ(window->SpinEdit2->value(), c.symbolCount);
    }
}

// The level and the smallest encoding: read through their controls into the
// report settings, and written back once they were stored or changed.
TEST_F(SettingsTest, LevelAndSmallestEncodingRoundTrip) {
    struct Case {
        std::string stored;
        int level;
        bool optimal;
        bool written;
    };
    const Case cases[] = {
        {"ECLevel=2\nMinimalEncoding=1\n", 2, true, true},
        {"ECLevel=9\nMinimalEncoding=abc\n", 3, false, true},
        {"Version=20\n", 0, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        WriteSettingsText(c.stored);
        auto window = MakeWindow();
        EXPECT_EQ(window->ComboBox1->currentIndex(), c.level);
        EXPECT_EQ(window->CheckBox1->isChecked(), c.optimal);
        EXPECT_EQ(window->Settings().level, c.level);
        EXPECT_EQ(window->Settings().optimal, c.optimal);
        window->close();
        EXPECT_EQ(QSettings(SettingsPath(), QSettings::IniFormat).contains("ECLevel"), c.written);
    }
    WriteSettingsText("Version=20\n");
    auto window = MakeWindow();
    window->CheckBox1->setChecked(true);
    window->close();
    EXPECT_EQ(Stored(SettingsPath(), "MinimalEncoding"), "1");
    EXPECT_FALSE(QSettings(SettingsPath(), QSettings::IniFormat).contains("ECLevel"));
}

TEST_F(SettingsTest, CsvReadingIsWrittenOnceChangedAndReadBack) {
    WriteSettingsText("Version=20\n");
    auto first = MakeWindow();
    EXPECT_FALSE(first->Settings().csv);
    first->close();
    EXPECT_FALSE(QSettings(SettingsPath(), QSettings::IniFormat).contains("CsvReading"));
    auto second = MakeWindow();
    second->CheckBox2->setChecked(true);
    second->close();
    EXPECT_EQ(Stored(SettingsPath(), "CsvReading"), "1");
    EXPECT_TRUE(MakeWindow()->Settings().csv);
}

TEST_F(SettingsTest, TextsApplyOnlyWhenNotEmptyAndPositionsEvenOffScreen) {
    WriteSettingsText("x_pos=-5000\ny_pos=40000\nReportTitle=\nFilePath=/data/list.csv\n");
    auto window = MakeWindow();
    EXPECT_EQ(window->pos(), QPoint(-5000, 40000));
    EXPECT_EQ(window->Edit5->text(), QStringLiteral("ＱＲコードリスト"));
    EXPECT_EQ(window->FilePath->text(), "/data/list.csv");

    // The dialog starts from the restored path.
    nextChoice.reset();
    window->SpeedButton1Click();
    ASSERT_EQ(dialogInitialPaths.size(), 1);
    EXPECT_EQ(dialogInitialPaths[0], "/data/list.csv");
}

TEST_F(SettingsTest, ValueThatIsNotAStringStopsTheLoadThere) {
    // A numeric registry value reads as a non-string; in the INI file a
    // list, a @ByteArray or a @Variant value does.
    for (const std::string bad : {"1, 2", "@ByteArray(30)", "@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x1e)"}) {
        SCOPED_TRACE(bad);
        WriteSettingsText("x_pos=12\ny_pos=34\nVersion=" + bad +
                          "\nSymbolSize=2\nReportTitle=T\nFilePath=/f.csv\nFontSize=20\nSymbolCount=3\n");
        auto window = MakeWindow();
        const Shown s = Read(*window);
        EXPECT_EQ(s.pos, QPoint(12, 34));
        ExpectDesignDefaultsFromVersionOn(s);
    }

    // Later in the order: the values before it are kept.
    WriteSettingsText("Version=30\nSymbolSize=2\nReportTitle=T\nFilePath=a, b\nFontSize=20\nSymbolCount=3\n");
    auto window = MakeWindow();
    const Shown s = Read(*window);
    EXPECT_EQ(s.version, 30);
    EXPECT_EQ(s.symbolSize, 2);
    EXPECT_EQ(s.title, "T");
    EXPECT_EQ(s.filePath, "");
    EXPECT_EQ(s.fontSize, 10);
    EXPECT_EQ(s.symbolCount, 8);
}

TEST_F(SettingsTest, UnreadableFileLeavesEveryDesignValueAndIsNotReplaced) {
    // A folder where the file should be: it cannot be read, and closing
    // says so instead of putting defaults in its place.
    ASSERT_TRUE(QDir().mkpath(SettingsPath()));
    auto window = MakeWindow();
    EXPECT_EQ(window->pos(), QPoint(0, 0));
    ExpectDesignDefaultsFromVersionOn(Read(*window));
    QStringList reported;
    const TExceptionHandler previous = SetExceptionHandler([&](const QString& message) { reported << message; });
    window->close();
    SetExceptionHandler(previous);
    ASSERT_EQ(reported.size(), 1);
    EXPECT_TRUE(reported[0].startsWith(QStringLiteral("設定を保存できませんでした: "))) << reported[0].toStdString();
    EXPECT_TRUE(reported[0].contains(SettingsPath()));
    EXPECT_TRUE(QFileInfo(SettingsPath()).isDir());
}

TEST_F(SettingsTest, ByteOrderMarkAndBrokenLinesHideNoValue) {
    const std::string all =
        "x_pos=12\ny_pos=34\nVersion=30\nSymbolSize=2\nReportTitle=T\nFilePath=/f.csv\nFontSize=20\nSymbolCount=3\n";
    const std::string texts[] = {
        "\xEF\xBB\xBF[General]\r\n" + all,  // as Windows editors save it
        "[General]\nx_pos=12\ny_pos=34\n[broken\nVersion=30\nSymbolSize=2\nno value here\nReportTitle=T\n"
        "# a comment\nFilePath=/f.csv\n\xff\xfe\nFontSize=20\nSymbolCount=3\n",
        "\xEF\xBB\xBF" + all,  // no section header at all
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        ASSERT_TRUE(QFile::remove(SettingsPath()) || !QFile::exists(SettingsPath()));
        WriteFile(QStringLiteral("Mosaiko.ini"), text);
        auto window = MakeWindow();
        const Shown s = Read(*window);
        EXPECT_EQ(s.pos, QPoint(12, 34));
        EXPECT_EQ(s.version, 30);
        EXPECT_EQ(s.symbolSize, 2);
        EXPECT_EQ(s.title, "T");
        EXPECT_EQ(s.filePath, "/f.csv");
        EXPECT_EQ(s.fontSize, 20);
        EXPECT_EQ(s.symbolCount, 3);
        window->close();
        EXPECT_EQ(Stored(SettingsPath(), "Version"), "30");
        EXPECT_EQ(Stored(SettingsPath(), "SymbolCount"), "3");
        QSettings saved(SettingsPath(), QSettings::IniFormat);
        EXPECT_EQ(saved.allKeys().size(), 8) << saved.allKeys().join(' ').toStdString();
    }
}

TEST_F(SettingsTest, CloseChangesOnlyTheValuesItOwnsAndKeepsTheirBytes) {
    const struct {
        std::string text;
        QString title, filePath;
        int version;
        std::vector<std::string> kept;  // lines still in the file after close
    } cases[] = {
        // 在庫 and データ in Shift-JIS, as an older tool wrote them.
        {"[General]\nReportTitle=\x8D\xDD\x8C\xC9\nFilePath=/d/\x83\x66\x81\x5B\x83\x5E.csv\n",
         QStringLiteral("在庫"), QStringLiteral("/d/データ.csv"), 20,
         {"ReportTitle=\x8D\xDD\x8C\xC9", "FilePath=/d/\x83\x66\x81\x5B\x83\x5E.csv"}},
        // A backslash at the end of a line joins no lines.
        {"[General]\nReportTitle=abc\\\nFilePath=/tmp/x.csv\n", QStringLiteral("abc\\"), QStringLiteral("/tmp/x.csv"), 20,
         {"ReportTitle=abc\\", "FilePath=/tmp/x.csv"}},
        // Out of the 32-bit range: held like 2147483647, then to the slider's 40.
        {"; by hand\n[General]\nVersion=2147483648\nOther=1\n\n[Printer]\nReportTitle=x\n", QStringLiteral("ＱＲコードリスト"),
         QString(), 40, {"; by hand", "Other=1", "[Printer]", "ReportTitle=x", "Version=40", "SymbolCount=8"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        WriteFile(QStringLiteral("Mosaiko.ini"), c.text);
        auto window = MakeWindow();
        const Shown s = Read(*window);
        EXPECT_EQ(s.title, c.title);
        EXPECT_EQ(s.filePath, c.filePath);
        EXPECT_EQ(s.version, c.version);
        window->close();
        QFile saved(SettingsPath());
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = saved.readAll().split('\n');
        for (const std::string& line : c.kept) EXPECT_TRUE(lines.contains(QByteArray::fromStdString(line))) << line;
        EXPECT_EQ(Read(*MakeWindow()).title, c.title);
    }
}

TEST_F(SettingsTest, CloseWritesNoDefaultOverAValueTheLoadDidNotShow) {
    WriteSettingsText("x_pos=12\ny_pos=34\nVersion=1, 2\nSymbolSize=2\nReportTitle=T\nFilePath=/f.csv\nFontSize=20\n"
                      "SymbolCount=3\n");
    {
        auto window = MakeWindow();
        ExpectDesignDefaultsFromVersionOn(Read(*window));
        window->SpinEdit1->setValue(14);  // the user changes one of them
        window->close();
    }
    QSettings saved(SettingsPath(), QSettings::IniFormat);
    EXPECT_EQ(saved.value("Version").toStringList(), QStringList({"1", "2"}));
    EXPECT_EQ(Stored(SettingsPath(), "SymbolSize"), "2");
    EXPECT_EQ(Stored(SettingsPath(), "ReportTitle"), "T");
    EXPECT_EQ(Stored(SettingsPath(), "FilePath"), "/f.csv");
    EXPECT_EQ(Stored(SettingsPath(), "FontSize"), "14");
    EXPECT_EQ(Stored(SettingsPath(), "SymbolCount"), "3");
    EXPECT_EQ(Stored(SettingsPath(), "x_pos"), "12");
}

TEST_F(SettingsTest, CloseSavesWhatTheControlsShowAndTheNextStartRestoresIt) {
    {
        auto window = MakeWindow();
        window->move(77, 88);
        window->TrackBar1->setValue(33);
        window->RadioGroup1->SetItemIndex(-1);
        window->Edit5->setText(QStringLiteral("@Variant(在庫一覧, 2026)"));  // stays plain text
        window->FilePath->setText(QStringLiteral("/home/user/データ.csv"));
        window->SpinEdit1->setValue(14);
        window->SpinEdit2->setValue(3);
        window->close();
    }
    EXPECT_EQ(Stored(SettingsPath(), "x_pos"), "77");
    EXPECT_EQ(Stored(SettingsPath(), "y_pos"), "88");
    EXPECT_EQ(Stored(SettingsPath(), "Version"), "33");
    EXPECT_EQ(Stored(SettingsPath(), "SymbolSize"), "-1");
    EXPECT_EQ(Stored(SettingsPath(), "FontSize"), "14");
    EXPECT_EQ(Stored(SettingsPath(), "SymbolCount"), "3");

    auto again = MakeWindow();
    const Shown s = Read(*again);
    EXPECT_EQ(s.pos, QPoint(77, 88));
    EXPECT_EQ(s.version, 33);
    EXPECT_EQ(s.panel13, "33");
    EXPECT_EQ(s.symbolSize, -1);
    EXPECT_EQ(s.title, QStringLiteral("@Variant(在庫一覧, 2026)"));
    EXPECT_EQ(s.filePath, QStringLiteral("/home/user/データ.csv"));
    EXPECT_EQ(s.fontSize, 14);
    EXPECT_EQ(s.symbolCount, 3);
}

TEST_F(SettingsTest, SaveFailureGoesToTheStandardErrorReport) {
    QStringList reported;
    const TExceptionHandler previous = SetExceptionHandler([&](const QString& message) { reported << message; });
    MainWindowSeams seams;
    const QString blocked = WriteFile(QStringLiteral("a-file"), "") + QStringLiteral("/Mosaiko.ini");
    seams.openSettings = [blocked] { return SettingsStore::OpenFile(blocked); };
    TQRTest_main window(std::move(seams));
    window.close();
    SetExceptionHandler(previous);
    ASSERT_EQ(reported.size(), 1);
    EXPECT_TRUE(reported[0].startsWith(QStringLiteral("設定を保存できませんでした: "))) << reported[0].toStdString();
    EXPECT_TRUE(reported[0].contains(blocked));
}

TEST_F(SettingsTest, SaveIntoAReadOnlyFolderFailsWithTheFileNamed) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    const QString folder = WriteFile(QStringLiteral("x"), "") + QStringLiteral(".d");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/Mosaiko.ini");
    {
        QSettings old(path, QSettings::IniFormat);
        old.setValue("Version", "30");
    }
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QStringList reported;
    const TExceptionHandler previous = SetExceptionHandler([&](const QString& message) { reported << message; });
    MainWindowSeams seams;
    seams.openSettings = [path] { return SettingsStore::OpenFile(path); };
    {
        TQRTest_main window(std::move(seams));
        EXPECT_EQ(window.TrackBar1->value(), 30);
        window.TrackBar1->setValue(31);
        window.close();
    }
    SetExceptionHandler(previous);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    ASSERT_EQ(reported.size(), 1);
    EXPECT_TRUE(reported[0].startsWith(QStringLiteral("設定を保存できませんでした: "))) << reported[0].toStdString();
    EXPECT_TRUE(reported[0].contains(path));
    EXPECT_EQ(Stored(path, "Version"), "30");
}

}  // namespace
}  // namespace mosaiko::test
