// The only two places where the window's eight settings are read and written.
#pragma once

#include <QStringList>

#include "SettingsStore.h"

class QWidget;

namespace mosaiko {

struct MainControls;

// What a load left on screen, so that the save writes no default over a
// stored value that the load never showed.
struct LoadedSettings {
    int read = 0;       // values read, in table order; the rest were not
    QStringList shown;  // the eight texts as the controls showed them after the load
    QStringList choices;  // the stored texts of the further choices, empty when absent
};

// Applies "x_pos", "y_pos", "Version", "SymbolSize", "ReportTitle", "FilePath",
// "FontSize" and "SymbolCount" in that order, each through its control, which
// keeps it in range. Stops at the first value that cannot be read (the store
// is unreadable or the value is not a string); the values applied before it stay.
LoadedSettings LoadMainSettings(const SettingsStore& store, QWidget& window, MainControls& controls);

// Then the further choices: "ECLevel" (0-3 = L, M, Q, H), "MinimalEncoding"
// and "CsvReading" (0 or 1), L and off when missing or not a number.
//
// Writes the eight values in the same order, as decimal text or plain text;
// a value the load did not read is written only when its control has changed
// since, so the store keeps what the user had there. A further choice is
// written when it was stored or is no longer its default: a store that never
// held one keeps the eight values only.
void SaveMainSettings(SettingsStore& store, const QWidget& window, const MainControls& controls,
                      const LoadedSettings& loaded);

}  // namespace mosaiko
