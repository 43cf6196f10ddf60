#include "StartWindow.h"

#include <QFileInfo>
#include <QTimer>
#include <utility>

namespace mosaiko {
namespace {

// The file dialog answers its first opening with `file`, later ones as usual.
MainWindowSeams AnswerFirstChoice(MainWindowSeams seams, const QString& file) {
    auto pending = std::make_shared<std::optional<QString>>(file);
    seams.chooseFile = [pending, dialog = std::move(seams.chooseFile)](QWidget* parent, const QString& initial) {
        if (*pending) return std::exchange(*pending, std::nullopt);
        return dialog ? dialog(parent, initial) : std::nullopt;
    };
    return seams;
}

}  // namespace

std::unique_ptr<TQRTest_main> StartMainWindow(const QStringList& arguments, MainWindowSeams seams) {
    const bool named = arguments.size() > 1;
    // The dialog gives absolute paths; the saved FilePath setting is one.
    if (named) seams = AnswerFirstChoice(std::move(seams), QFileInfo(arguments[1]).absoluteFilePath());
    auto window = std::make_unique<TQRTest_main>(std::move(seams));
    window->show();
    if (named) QTimer::singleShot(0, window.get(), [w = window.get()] { w->SpeedButton1Click(); });
    return window;
}

}  // namespace mosaiko
