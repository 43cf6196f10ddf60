#include <gtest/gtest.h>

#include "ReportSettings.h"

using namespace mosaiko;

// Each setting brought into its range by ReportSettings::Clamped.
TEST(ReportSettings, ClampsEachSettingIntoItsRange) {
    struct Row {
        const char* name;
        int ReportSettings::*field;
        int below, above;  // out of range on either side
        int low, high;     // what they become
    };
    const Row rows[] = {
        {"version", &ReportSettings::version, 0, 99, 1, 40},
        {"symbol size", &ReportSettings::symbolSize, -3, 9, kNoSymbolSize, 4},
        {"groups per page", &ReportSettings::groupsPerPage, 0, 21, 1, 20},
        {"font size", &ReportSettings::fontSize, 5, 100, 6, 60},
    };
    for (const Row& r : rows) {
        ReportSettings s;
        s.*r.field = r.below;
        EXPECT_EQ(s.Clamped().*r.field, r.low) << r.name;
        s.*r.field = r.above;
        EXPECT_EQ(s.Clamped().*r.field, r.high) << r.name;
        s = ReportSettings();
        EXPECT_EQ(s.Clamped().*r.field, s.*r.field) << r.name << " default in range";
    }
    EXPECT_EQ(ReportSettings().SymbolSizeItem(), 0);  // "標準サイズ"
    EXPECT_EQ(ReportSettings().title, "ＱＲコードリスト");
}
