// `mosaiko FILE`: the window comes up and imports FILE as if it had been
// chosen with "…"; an unreadable FILE gets the import's message.
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "StartWindow.h"
#include "WindowTestSupport.h"

namespace mosaiko::test {
namespace {

using StartTest = WindowTest;

TEST_F(StartTest, FileOnTheCommandLineIsImported) {
    const QString sample = QStringLiteral(MOSAIKO_SAMPLE_CSV);
    const QString missing = QStringLiteral("/nonexistent/list.csv");
    struct Case {
        QStringList arguments;
        QString groups;
        QStringList errors;
    };
    const Case cases[] = {
        {{QStringLiteral("mosaiko"), sample}, QStringLiteral("4"), {}},
        {{QStringLiteral("mosaiko"), missing},
         QString(),
         {QStringLiteral("テキスト（CSVデータ）を正しく読み取ることが出来ませんでした。")}},
        {{QStringLiteral("mosaiko")}, QString(), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        errors.clear();
        dialogInitialPaths.clear();
        const auto window = StartMainWindow(c.arguments, Seams());
        EXPECT_TRUE(window->isVisible());
        QTest::qWait(50);  // the import starts with the event loop
        EXPECT_EQ(window->Panel16->text(), c.groups);
        EXPECT_EQ(errors, c.errors);
        EXPECT_TRUE(dialogInitialPaths.isEmpty());  // FILE stands in for the dialog
        if (c.arguments.size() > 1) {
            EXPECT_EQ(window->FilePath->text(), QFileInfo(c.arguments[1]).absoluteFilePath());
        }
    }
}

}  // namespace
}  // namespace mosaiko::test
