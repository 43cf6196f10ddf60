// The search for the most readable setting. Expected rows worked out from the
// symbol capacities: examples/sample.csv's largest group is 120 bytes, more
// than version 5-L's 106 byte-mode bytes and within version 6-L's 134; a
// 302-byte group needs version 11-L (2,436 bits of 2,592; version 10 holds 2,192).
#include <gtest/gtest.h>

#include <string>

#include "BestSetting.h"
#include "GroupAssembly.h"
#include "FileImport.h"
#include "PrintAdvice.h"
#include "ReportForm.h"

namespace mosaiko {
namespace {

DataNeed NeedOfFile(const char* path, int level) {
    MemoLines memo;
    EXPECT_EQ(ImportFile(QString::fromUtf8(path), memo, {}).outcome, ImportOutcome::Done);
    DataNeed need(level, false);
    for (GroupCursor cursor(memo); !cursor.AtEnd();) need.Add(cursor.Next().data);
    return need;
}

struct Row {
    const char* what;
    std::string group;  // empty: examples/sample.csv
    PrintSetting current;
    bool currentFits;
    bool suggest;
    PrintSetting best;  // when suggested (moduleMm checked apart)
};

TEST(BestSetting, FindsTheLargestModuleAtTheUsersGroupsPerPage) {
    const std::string bytes302 = std::string(300, 'x') + "\r\n";
    const Row rows[] = {
        // 8 per page: a 121-pixel image, 4 x 121 pixels of 256 = 0.500 mm.
        {"sample at the default", "", {20, 1, 8, 0}, true, true, {6, 4, 8, 0}},
        {"sample at a failing version", "", {1, 1, 8, 0}, false, true, {6, 4, 8, 0}},
        {"sample already at its best, version kept", "", {7, 4, 8, 0}, true, false, {}},
        {"sample, a fitting version kept", "", {8, 2, 8, 0}, true, true, {8, 4, 8, 0}},
        // 20 per page reaches 0.186 mm at most; 10 per page (a 94-pixel image) 0.389 mm.
        {"sample at 20 per page", "", {6, 4, 20, 0}, true, true, {6, 4, 10, 0}},
        // Version 11 holds 69 x 3 = 207 pixels: 3 x 121 pixels of 256 = 0.375 mm.
        {"302 bytes", bytes302, {20, 1, 8, 0}, true, true, {11, 3, 8, 0}},
        {"302 bytes, version 13 kept", bytes302, {13, 1, 8, 0}, true, true, {13, 3, 8, 0}},
        {"more than version 40 holds", std::string(3000, 'x'), {40, 1, 8, 0}, false, false, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        DataNeed need(0, false);
        if (row.group.empty())
            need = NeedOfFile(MOSAIKO_SAMPLE_CSV, 0);
        else
            need.Add(row.group);
        const BestSetting found = FindBestSetting(need, row.current, ImageSideFor);
        EXPECT_EQ(found.currentFits, row.currentFits);
        ASSERT_EQ(found.suggest, row.suggest);
        if (!row.suggest) {
            EXPECT_EQ(SuggestionText(found), "");
            continue;
        }
        EXPECT_EQ(found.best.version, row.best.version);
        EXPECT_EQ(found.best.symbolSize, row.best.symbolSize);
        EXPECT_EQ(found.best.groupsPerPage, row.best.groupsPerPage);
        EXPECT_GE(found.best.moduleMm, kPhoneModuleMm);
        const std::string text = SuggestionText(found);
        EXPECT_NE(text.find("バージョン " + std::to_string(row.best.version)), std::string::npos) << text;
        EXPECT_NE(text.find(SymbolSizeName(row.best.symbolSize)), std::string::npos) << text;
    }
}

TEST(BestSetting, TheSampleSuggestionNamesItsModuleAndTheReaders) {
    const BestSetting found = FindBestSetting(NeedOfFile(MOSAIKO_SAMPLE_CSV, 0),
                                              {20, 1, 8, 0}, ImageSideFor);
    EXPECT_NEAR(found.best.moduleMm, 0.500, 0.001);
    EXPECT_EQ(SuggestionText(found),
              "おすすめ: バージョン 6・4倍角サイズ・頁内 8 グループでモジュール 0.500 mm"
              "（ハンディスキャナでもスマートフォンのカメラでも読めます）");
}

}  // namespace
}  // namespace mosaiko
