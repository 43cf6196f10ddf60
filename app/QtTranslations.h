// Qt's own texts (file dialog, print dialog, preview, standard buttons) in the
// user's language.
#pragma once

class QCoreApplication;

namespace mosaiko {

// Loads Qt's base translations for QLocale() from Qt's translations folder and
// installs them on `app`; false when there are none for that language.
bool InstallQtTranslations(QCoreApplication& app);

}  // namespace mosaiko
