// The settings of a check and a report, with their ranges and defaults: the
// main window's controls, its stored settings and mosaiko-report's options
// all take them from here.
#pragma once

#include <string>

namespace mosaiko {

struct SettingRange {
    int low = 0;
    int high = 0;
    int initial = 0;
    constexpr bool Holds(int value) const { return value >= low && value <= high; }
    constexpr int Clamp(int value) const { return value < low ? low : value > high ? high : value; }
};

inline constexpr SettingRange kVersionRange{1, 40, 20};
// Pixels per module: "標準サイズ" (1) to "4倍角サイズ" (4).
inline constexpr SettingRange kSymbolSizeRange{1, 4, 1};
inline constexpr SettingRange kGroupsPerPageRange{1, 20, 8};
// Points, of the group text.
inline constexpr SettingRange kFontSizeRange{6, 60, 10};
inline constexpr char kDefaultReportTitle[] = "ＱＲコードリスト";  // UTF-8
// Error-correction level 0-3 = L, M, Q, H.
inline constexpr SettingRange kLevelRange{0, 3, 0};
inline constexpr char kLevelNames[] = "LMQH";

// The window lists the symbol sizes as items 0-3 (item i is i + 1 pixels per
// module) and may have none selected (-1), which is 0 pixels: the control
// ignores that and keeps its magnification.
inline constexpr int kNoSymbolSize = 0;
constexpr int SymbolSizeOfItem(int item) { return item + 1; }
constexpr int ItemOfSymbolSize(int pixelsPerModule) { return pixelsPerModule - 1; }
// The symbol sizes as items of the window's list, -1 for none.
inline constexpr SettingRange kSymbolSizeItemRange{ItemOfSymbolSize(kNoSymbolSize),
                                                   ItemOfSymbolSize(kSymbolSizeRange.high),
                                                   ItemOfSymbolSize(kSymbolSizeRange.initial)};

struct ReportSettings {
    int version = kVersionRange.initial;
    int symbolSize = kSymbolSizeRange.initial;  // pixels per module, or kNoSymbolSize
    std::string title = kDefaultReportTitle;    // UTF-8
    int groupsPerPage = kGroupsPerPageRange.initial;
    int fontSize = kFontSizeRange.initial;
    int level = kLevelRange.initial;  // error-correction level of every symbol
    bool optimal = false;             // the smallest encoding instead of the automatic rule
    bool csv = false;                 // the file read as a spreadsheet writes CSV records

    int SymbolSizeItem() const { return ItemOfSymbolSize(symbolSize); }
    // Every value brought into its range; a symbol size below it is none.
    ReportSettings Clamped() const;
};

}  // namespace mosaiko
