// The only two places where the window's eight settings are read and written.
#pragma once

#include "SettingsStore.h"

class QWidget;

namespace mosaiko {

struct MainControls;

// Applies "x_pos", "y_pos", "Version", "SymbolSize", "ReportTitle", "FilePath",
// "FontSize" and "SymbolCount" in that order, each through its control, which
// keeps it in range. Throws at the first value that cannot be read; the
// values applied before it stay.
void LoadMainSettings(const SettingsStore& store, QWidget& window, MainControls& controls);

// Writes all eight values in the same order, as decimal text or plain text.
void SaveMainSettings(SettingsStore& store, const QWidget& window, const MainControls& controls);

}  // namespace mosaiko
