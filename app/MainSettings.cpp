#include "MainSettings.h"

#include <QLineEdit>
#include <QSlider>
#include <QSpinBox>
#include <QWidget>

#include "MainControls.h"
#include "RadioGroup.h"

namespace mosaiko {
namespace {

int ReadInt(const SettingsStore& store, const char* name, int fallback) {
    return ReadInteger(store.ReadString(QString::fromLatin1(name)), fallback);
}

// Empty text leaves the control as it is.
bool ReadText(const SettingsStore& store, const char* name, QString& text) {
    text = store.ReadString(QString::fromLatin1(name));
    return !text.isEmpty();
}

}  // namespace

void LoadMainSettings(const SettingsStore& store, QWidget& window, MainControls& c) {
    window.move(ReadInt(store, "x_pos", 0), window.y());
    window.move(window.x(), ReadInt(store, "y_pos", 0));
    c.TrackBar1->setValue(ReadInt(store, "Version", 20));
    c.RadioGroup1->SetItemIndex(ReadInt(store, "SymbolSize", 0));
    QString text;
    if (ReadText(store, "ReportTitle", text)) c.Edit5->setText(text);
    // The file-open dialog starts from the same path.
    if (ReadText(store, "FilePath", text)) c.FilePath->setText(text);
    c.SpinEdit1->setValue(ReadInt(store, "FontSize", 10));
    c.SpinEdit2->setValue(ReadInt(store, "SymbolCount", 8));
}

void SaveMainSettings(SettingsStore& store, const QWidget& window, const MainControls& c) {
    store.WriteString(QStringLiteral("x_pos"), QString::number(window.x()));
    store.WriteString(QStringLiteral("y_pos"), QString::number(window.y()));
    store.WriteString(QStringLiteral("Version"), QString::number(c.TrackBar1->value()));
    store.WriteString(QStringLiteral("SymbolSize"), QString::number(c.RadioGroup1->ItemIndex()));
    store.WriteString(QStringLiteral("ReportTitle"), c.Edit5->text());
    store.WriteString(QStringLiteral("FilePath"), c.FilePath->text());
    store.WriteString(QStringLiteral("FontSize"), QString::number(c.SpinEdit1->value()));
    store.WriteString(QStringLiteral("SymbolCount"), QString::number(c.SpinEdit2->value()));
    store.Flush();
}

}  // namespace mosaiko
