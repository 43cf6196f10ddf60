#include "MainSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSlider>
#include <QSpinBox>
#include <QWidget>

#include "MainControls.h"
#include "RadioGroup.h"
#include "ReportSettings.h"

namespace mosaiko {
namespace {

const char* const kNames[] = {"x_pos", "y_pos", "Version", "SymbolSize", "ReportTitle", "FilePath", "FontSize",
                              "SymbolCount"};

const char* const kChoiceNames[] = {"ECLevel", "MinimalEncoding", "CsvReading"};
constexpr SettingRange kSwitchRange{0, 1, 0};

QStringList Choices(const MainControls& c) {
    return {QString::number(c.ComboBox1->currentIndex()), QString::number(c.CheckBox1->isChecked() ? 1 : 0),
            QString::number(c.CheckBox2->isChecked() ? 1 : 0)};
}

// The stored integer in the setting's range; its initial value when missing
// or not a number.
int ReadInt(const SettingsStore& store, const char* name, const SettingRange& range) {
    return range.Clamp(ReadInteger(store.ReadString(QString::fromLatin1(name)), range.initial));
}

// The window stands where it was left, on the screen or not.
int ReadPosition(const SettingsStore& store, const char* name) {
    return ReadInteger(store.ReadString(QString::fromLatin1(name)), 0);
}

// Empty text leaves the control as it is.
bool ReadText(const SettingsStore& store, const char* name, QString& text) {
    text = store.ReadString(QString::fromLatin1(name));
    return !text.isEmpty();
}

// The eight values as they are written, in table order.
QStringList Shown(const QWidget& window, const MainControls& c) {
    return {QString::number(window.x()),           QString::number(window.y()),
            QString::number(c.TrackBar1->value()), QString::number(c.RadioGroup1->ItemIndex()),
            c.Edit5->text(),                       c.FilePath->text(),
            QString::number(c.SpinEdit1->value()), QString::number(c.SpinEdit2->value())};
}

}  // namespace

LoadedSettings LoadMainSettings(const SettingsStore& store, QWidget& window, MainControls& c) {
    LoadedSettings loaded;
    const auto step = [&](auto apply) {
        apply();
        ++loaded.read;
    };
    try {
        step([&] { window.move(ReadPosition(store, "x_pos"), window.y()); });
        step([&] { window.move(window.x(), ReadPosition(store, "y_pos")); });
        step([&] { c.TrackBar1->setValue(ReadInt(store, "Version", kVersionRange)); });
        step([&] { c.RadioGroup1->SetItemIndex(ReadInt(store, "SymbolSize", kSymbolSizeItemRange)); });
        QString text;
        step([&] {
            if (ReadText(store, "ReportTitle", text)) c.Edit5->setText(text);
        });
        // The file-open dialog starts from the same path.
        step([&] {
            if (ReadText(store, "FilePath", text)) c.FilePath->setText(text);
        });
        step([&] { c.SpinEdit1->setValue(ReadInt(store, "FontSize", kFontSizeRange)); });
        step([&] { c.SpinEdit2->setValue(ReadInt(store, "SymbolCount", kGroupsPerPageRange)); });
        for (const char* name : kChoiceNames) loaded.choices << store.ReadString(QString::fromLatin1(name));
        c.ComboBox1->setCurrentIndex(kLevelRange.Clamp(ReadInteger(loaded.choices[0], kLevelRange.initial)));
        c.CheckBox1->setChecked(kSwitchRange.Clamp(ReadInteger(loaded.choices[1], 0)) == 1);
        c.CheckBox2->setChecked(kSwitchRange.Clamp(ReadInteger(loaded.choices[2], 0)) == 1);
    } catch (const SettingsStoreError&) {
        // The load ends quietly here; the controls after it keep their design values.
    }
    loaded.shown = Shown(window, c);
    return loaded;
}

void SaveMainSettings(SettingsStore& store, const QWidget& window, const MainControls& c,
                      const LoadedSettings& loaded) {
    const QStringList now = Shown(window, c);
    for (int i = 0; i < now.size(); ++i) {
        const bool unread = i >= loaded.read && i < loaded.shown.size();
        if (unread && now[i] == loaded.shown[i]) continue;
        store.WriteString(QString::fromLatin1(kNames[i]), now[i]);
    }
    const QStringList choices = Choices(c);
    for (int i = 0; i < choices.size(); ++i) {
        const bool stored = i < loaded.choices.size() && !loaded.choices[i].isEmpty();
        if (stored || choices[i] != QStringLiteral("0")) store.WriteString(QString::fromLatin1(kChoiceNames[i]), choices[i]);
    }
    store.Flush();
}

}  // namespace mosaiko
